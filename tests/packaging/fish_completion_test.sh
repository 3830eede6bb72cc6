#!/usr/bin/env bash
# fish completion of tallix: options, stack and listing file names with the
# fitting ones first, and command names after -e from the program itself.
#   fish_completion_test.sh COMPLETION_FILE TALLIX
set -u
# shellcheck source=completion_check.sh
source "$(dirname "${BASH_SOURCE[0]}")/completion_check.sh"
completion=$1 tallix=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/home" "$work/files" "$work/files/sub"
cd "$work/files" || exit 1
touch a.Stk b.stk c.txt d.pdf e.PDF f.dat
# The program is found by its name, as fish completes it; fish keeps its
# own files in a home of its own.
PATH="$(dirname "$tallix"):$PATH"
export PATH HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local"

failures=0
# The candidates for the command line, without descriptions, each ending in |.
complete_line() {
    fish --no-config -c 'source $argv[1]; complete -C $argv[2]' "$completion" "$1" |
        cut -f1 | tr '\n' '|'
}
expect() {
    local want=$1 line=$2 got
    got=$(complete_line "$line")
    if [[ $got != "$want" ]]; then
        printf '%s<TAB>\n  expected: %s\n  got:      %s\n' "$line" "$want" "$got"
        failures=$((failures + 1))
    fi
}

expect '--list-commands|--load|' 'tallix --l'
expect '--save|' 'tallix -e 1 --s'
expect '-e|-h|--batch|--eval|--help|--list-commands|--load|--print|--raw|--save|--tape|--version|' \
    'tallix -'
expect '/TRAY|' 'tallix /'
expect '' 'tallix -e 1 /'
expect '--batch|' 'tallix -e 1 --ba'
# Command names: in the case typed, for the last word of the tokens.
expect 'SINH|SIN|' 'tallix -e SI'
expect 'sinh|sin|' 'tallix -e si'
expect '1 2 SQRT|1 2 SQ|' "tallix -e '1 2 SQ"
expect 'UNDO|' 'tallix --eval UND'
expect '' 'tallix -e ZZZ'
# Stack files (and folders) first, then the rest; listings: PDF and text.
expect 'a.Stk|b.stk|sub/|c.txt|d.pdf|e.PDF|f.dat|' 'tallix --load '
expect 'a.Stk|b.stk|sub/|c.txt|d.pdf|e.PDF|f.dat|' 'tallix -e 1 --save '
expect 'c.txt|d.pdf|e.PDF|sub/|a.Stk|b.stk|f.dat|' 'tallix --print '
expect 'd.pdf|' 'tallix --print d'
# A tape is text.
expect 'c.txt|sub/|a.Stk|b.stk|d.pdf|e.PDF|f.dat|' 'tallix --tape '

# The command names offered are exactly those the program lists.
check_names "$(fish --no-config -c 'source $argv[1]; complete -C "tallix -e "' "$completion")"
finish
