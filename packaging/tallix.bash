# bash completion for tallix                                   -*- shell-script -*-

_tallix()
{
    local cur prev
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD - 1]}
    [[ $COMP_CWORD -gt 0 ]] || return

    case $prev in
        -e | --eval)
            # Complete the last word of the tokens with a command name, in
            # the case the user started typing it.
            local word=${cur##* } head= name lower
            [[ $cur == *" "* ]] && head=${cur% *}" "
            lower=$([[ $word == *[a-z]* ]] && echo 1)
            COMPREPLY=()
            # Matched by hand: names such as * and ^ must not be expanded.
            while IFS= read -r name; do
                [[ $lower ]] && name=${name,,}
                [[ ${name,,} == "${word,,}"* ]] && COMPREPLY+=("$head$name")
            done < <("${COMP_WORDS[0]}" --list-commands 2>/dev/null)
            return
            ;;
        --load | --save)
            _tallix_files stk "$cur"
            return
            ;;
        --print)
            _tallix_files "pdf txt" "$cur"
            return
            ;;
        --tape)
            _tallix_files txt "$cur"
            return
            ;;
    esac

    if [[ $cur == -* || $COMP_CWORD -eq 1 ]]; then
        local options="-e --eval --batch --raw --load --save --print --tape --list-commands --help --version"
        [[ $COMP_CWORD -eq 1 ]] && options+=" /TRAY"
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
    fi
}

# Folders and the files with one of the given extensions (any case) first,
# then any other file.
_tallix_files()
{
    local extensions=" $1 " cur=$2 f ext
    local -a first=() rest=()
    while IFS= read -r f; do
        ext=${f##*.}
        ext=${ext,,}
        if [[ -d $f || ($f == *.* && $extensions == *" $ext "*) ]]; then
            first+=("$f")
        else
            rest+=("$f")
        fi
    done < <(compgen -f -- "$cur" | LC_ALL=C sort)
    COMPREPLY=("${first[@]}" "${rest[@]}")
    compopt -o filenames -o nosort 2>/dev/null
    return 0
}

complete -F _tallix tallix
