# fish completion for tallix

# The command names the program lists, for the last word of the tokens
# after -e, in the case the user started typing it; the words before it are
# kept.
function __tallix_names
    set -l token (commandline -ct | string trim -l -c "'\"")
    set -l head (string replace -r -- '[^ ]*$' '' $token)
    set -l word (string replace -r -- '^.* ' '' $token)
    set -l program (commandline -opc)[1]
    set -l lower (string match -qr -- '[a-z]' $word; and echo 1)
    set -l pattern '^'(string escape --style=regex -- $word)
    for name in (command $program --list-commands 2>/dev/null)
        # Matched by hand: names such as * and ^ are no patterns.
        string match -qir -- $pattern $name; or continue
        test -n "$lower"; and set name (string lower -- $name)
        echo $head$name
    end
end

# Folders and the files with one of the given extensions (any case) first,
# then any other file.
function __tallix_files
    set -l token (commandline -ct)
    set -l first
    set -l rest
    for f in $token*
        set -l ext (string lower -- (string match -r -- '\.([^./]*)$' $f)[2])
        if test -d $f
            set -a first $f/
        else if contains -- "$ext" $argv
            set -a first $f
        else
            set -a rest $f
        end
    end
    printf '%s\n' $first $rest
end

# An option's arguments and its description are given apart, so that the
# file and command names it offers carry no description of their own.
complete -c tallix -f
complete -c tallix -n __fish_is_first_arg -a /TRAY -d 'Start as a tray icon'
complete -c tallix -s e -l eval -x -k -a '(__tallix_names)'
complete -c tallix -s e -l eval -x -d 'Run the tokens'
complete -c tallix -l batch -d 'Read tokens from standard input'
complete -c tallix -l raw -d 'Print the stored stack texts'
complete -c tallix -l load -x -k -a '(__tallix_files stk)'
complete -c tallix -l load -x -d 'Start with the stack of a stack file'
complete -c tallix -l save -x -k -a '(__tallix_files stk)'
complete -c tallix -l save -x -d 'Write the final stack to a stack file'
complete -c tallix -l print -x -k -a '(__tallix_files pdf txt)'
complete -c tallix -l print -x -d 'Print the stack listing into a file'
complete -c tallix -l tape -x -k -a '(__tallix_files txt)'
complete -c tallix -l tape -x -d "Write the run's tape into a file"
complete -c tallix -l list-commands -d 'List the command names'
complete -c tallix -s h -l help -d 'Show the help'
complete -c tallix -l version -d 'Show the version'
