# What the bash and fish completion tests share: the names offered after -e
# against the program's own list, and the verdict. Sourced by both, with
# $tallix and $failures set.

# check_names OFFERED: OFFERED is the names offered after -e, one a line.
check_names() {
    local offered listed
    offered=$(printf '%s\n' "$1" | sort)
    listed=$("$tallix" --list-commands | sort)
    if [[ -z $listed || $offered != "$listed" ]]; then
        echo "names after -e differ from tallix --list-commands"
        failures=$((failures + 1))
    fi
}

finish() {
    if [[ $failures -gt 0 ]]; then
        echo "$failures completion cases failed"
        exit 1
    fi
    echo "completion cases passed"
}
