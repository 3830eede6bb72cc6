#!/usr/bin/env bash
# bash completion of tallix: options, stack and listing file names with the
# fitting ones first, and command names after -e from the program itself.
#   completion_test.sh COMPLETION_FILE TALLIX
set -u
# shellcheck source=completion_check.sh
source "$(dirname "${BASH_SOURCE[0]}")/completion_check.sh"
completion=$1 tallix=$2
# shellcheck source=/dev/null
source "$completion"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mkdir sub
touch a.Stk b.stk c.txt d.pdf e.PDF f.dat

failures=0
# complete WORD... : completes the last word, as if typed after `tallix`.
complete_words() {
    COMP_WORDS=("$tallix" "$@")
    COMP_CWORD=$(($# ))
    COMPREPLY=()
    _tallix
    [[ ${#COMPREPLY[@]} -eq 0 ]] || printf '%s|' "${COMPREPLY[@]}"
}
expect() {
    local want=$1
    shift
    local got
    got=$(complete_words "$@")
    if [[ $got != "$want" ]]; then
        printf 'tallix %s<TAB>\n  expected: %s\n  got:      %s\n' "$*" "$want" "$got"
        failures=$((failures + 1))
    fi
}

expect '--load|--list-commands|' --l
expect '--save|' -e 1 --s
expect '-e|--eval|--batch|--raw|--load|--save|--print|--tape|--list-commands|--help|--version|/TRAY|' ''
expect '/TRAY|' /
expect '--batch|' -e 1 --ba
# Command names: in the case typed, for the last word of the tokens.
expect 'SINH|SIN|' -e SI
expect 'sinh|sin|' -e si
expect '1 2 SQRT|1 2 SQ|' -e '1 2 SQ'
expect 'UNDO|' --eval UND
expect '' -e ZZZ
# Stack files (and folders) first, then the rest; listings: PDF and text.
expect 'a.Stk|b.stk|sub|c.txt|d.pdf|e.PDF|f.dat|' --load ''
expect 'a.Stk|b.stk|sub|c.txt|d.pdf|e.PDF|f.dat|' -e 1 --save ''
expect 'c.txt|d.pdf|e.PDF|sub|a.Stk|b.stk|f.dat|' --print ''
expect 'd.pdf|' --print d
# A tape is text.
expect 'c.txt|sub|a.Stk|b.stk|d.pdf|e.PDF|f.dat|' --tape ''

# The command names offered are exactly those the program lists.
COMP_WORDS=("$tallix" -e '')
COMP_CWORD=2
_tallix
check_names "$(printf '%s\n' "${COMPREPLY[@]}")"
finish
