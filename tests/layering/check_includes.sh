#!/usr/bin/env bash
# The layers include one way only: fields/ <- engine/ <- interpreter/ <- programs/,
# and the batch tool batch/ sits beside programs/ (it may use everything below).
# Lists every include that points upwards and fails when there is one.
# Usage: check_includes.sh SOURCE_ROOT
set -u
cd "$1" || exit 2
status=0
upward() {  # upward FOLDER PATTERN: includes from FOLDER matching PATTERN
    local hits
    hits=$(grep -rn -E "^[[:space:]]*#[[:space:]]*include[[:space:]]*\"($2)/" "$1" 2>/dev/null)
    if [ -n "$hits" ]; then
        printf '%s includes a higher layer:\n%s\n' "$1/" "$hits"
        status=1
    fi
}
upward fields 'engine|interpreter|programs|batch'
upward engine 'interpreter|programs|batch'
upward interpreter 'programs|batch'
upward batch 'programs'
exit $status
