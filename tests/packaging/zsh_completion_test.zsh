# zsh completion of tallix: options, stack and listing file names with the
# fitting ones offered, and command names after -e from the program itself.
# Each line is typed into an interactive zsh on a pseudo-terminal and
# completed there; a wrapper of compadd writes down what is offered
# (unquoted: names such as * are offered as \* outside quotes).
#   zsh -f zsh_completion_test.zsh COMPLETION_FILE TALLIX
emulate -L zsh
export LC_ALL=C
completion=$1 tallix=$2
work=$(mktemp -d)
trap 'rm -rf $work' EXIT
mkdir -p $work/fpath $work/files/sub $work/home
cp $completion $work/fpath/_tallix
cd $work/files || exit 1
touch a.Stk b.stk c.txt d.pdf e.PDF f.dat
zmodload zsh/zpty

# The candidates for the command line, sorted, each ending in |.
complete_line() {
  local line=$1 out=$work/out i
  rm -f $out
  zpty z env HOME=$work/home PATH=${tallix:h}:$PATH zsh -f -i
  zpty -w z "fpath=($work/fpath \$fpath); autoload -Uz compinit; compinit -u -d $work/home/dump"
  zpty -w z 'compadd() {
    if [[ ${@[1,(i)(-|--)]} == *-(O|A|D)\ * ]]; then builtin compadd "$@"; return; fi
    local -a hits
    builtin compadd -A hits "$@"
    (( $#hits )) && print -rl -- ${IPREFIX}${(Q)^hits} >> '$out'
    builtin compadd "$@"
  }'
  zpty -w z "_mark() { zle complete-word; print -r -- END >> $out; }; zle -N _mark; bindkey '^I' _mark"
  zpty -w -n z "$line"$'\t'
  for i in {1..400}; do
    [[ -f $out ]] && grep -q '^END$' $out && break
    sleep 0.05
  done
  zpty -d z
  [[ -f $out ]] || { print -r -- "no completion ran"; return }
  grep -v '^END$' $out | sort -u | tr '\n' '|'
}

failures=0
expect() {
  local want=$1 line=$2 got
  got=$(complete_line $line)
  if [[ $got != $want ]]; then
    printf '%s<TAB>\n  expected: %s\n  got:      %s\n' $line $want $got
    (( failures++ ))
  fi
}

expect '--list-commands|--load|' 'tallix --l'
expect '--save|' 'tallix -e 1 --s'
expect '--batch|--eval|--help|--list-commands|--load|--print|--raw|--save|--tape|--version|-e|-h|' \
  'tallix -'
expect '/TRAY|' 'tallix '
expect '/TRAY|' 'tallix /'
expect '' 'tallix -e 1 /'
expect '--batch|' 'tallix -e 1 --ba'
# Command names: in the case typed, for the last word of the tokens.
expect 'SIN|SINH|' 'tallix -e SI'
expect 'sin|sinh|' 'tallix -e si'
expect '1 2 SQ|1 2 SQRT|' "tallix -e '1 2 SQ"
expect 'UNDO|' 'tallix --eval UND'
expect '' 'tallix -e ZZZ'
# Stack files and folders; listings: PDF and text; a tape is text. Any
# file when none fits.
expect 'a.Stk|b.stk|sub|' 'tallix --load '
expect 'a.Stk|b.stk|sub|' 'tallix -e 1 --save '
expect 'c.txt|d.pdf|e.PDF|sub|' 'tallix --print '
expect 'd.pdf|' 'tallix --print d'
expect 'c.txt|sub|' 'tallix --tape '
expect 'f.dat|' 'tallix --load f'

# The command names offered are exactly those the program lists.
offered=$(complete_line 'tallix -e ')
listed=$($tallix --list-commands | sort -u | tr '\n' '|')
if [[ -z $listed || $offered != $listed ]]; then
  print -r -- "names after -e differ from tallix --list-commands"
  (( failures++ ))
fi

if (( failures )); then
  print -r -- "$failures completion cases failed"
  exit 1
fi
print -r -- "completion cases passed"
