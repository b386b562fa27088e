#!/usr/bin/env bash
# Writes, from verbanta-cli's own help texts, the commands section of its manual page (a
# help2man include file) and its bash completion, so that neither can fall behind the program.
# Usage: cli_help_docs.sh CLI MAN_INCLUDE COMPLETION
set -euo pipefail

cli=$1
man_include=$2
completion=$3

# Each entry of a help section as "NAMES<TAB>DESCRIPTION". Descriptions start in one column, the
# one where the help option's does; an entry whose names reach it has its description on the
# next line, indented.
entries() {  # SECTION HELP_TEXT
    awk -v section="$1" '
        NR == FNR { if (!column && (at = index($0, "Print this help message"))) column = at; next }
        /^[^ ].*:$/ { inside = ($0 == section ":"); next }
        !inside || !NF { next }
        /^  [^ ]/ {
            if (names != "") print names "\t" text
            if (substr($0, column - 1, 1) == " ") {
                names = substr($0, 3, column - 3); text = substr($0, column)
            } else {
                names = substr($0, 3); text = ""
            }
            sub(/ +$/, "", names)
            next
        }
        { sub(/^ +/, ""); text = (text == "" ? $0 : text " " $0) }
        END { if (names != "") print names "\t" text }
    ' <(printf '%s\n' "$2") <(printf '%s\n' "$2")
}

roff() {  # text made safe for a manual page
    sed -e 's/\\/\\e/g' -e 's/-/\\-/g' -e "s/^[.']/\\\\\&&/"
}

top=$("$cli" --help)
mapfile -t commands < <(entries Subcommands "$top" | cut -f1)
if [ ${#commands[@]} -eq 0 ]; then
    echo "cli_help_docs.sh: no commands in the help of $cli" >&2
    exit 1
fi

# The completion's tables: each command's options, and the values of options with a fixed set.
option_words() {  # NAMES column of an options section -> option words
    cut -f1 | awk '{ print $1 }' | tr ',' '\n' | grep '^-' || true
}
choice_cases=()
option_cases=()
{
    # The name line says what the help's first line says.
    printf '[NAME]\nverbanta\\-cli \\- %s\n\n' "$(head -n 1 <<<"$top" | sed 's/^[^:]*: //' | roff)"
    echo '[COMMANDS]'
    for command in "${commands[@]}"; do
        help=$("$cli" "$command" --help)
        summary=$(head -n 1 <<<"$help")
        usage=$(sed -n 's/^Usage: [^ ]* //p' <<<"$help")
        printf '.SS "%s"\n' "$(roff <<<"$command")"
        roff <<<"$summary"
        printf '.PP\n\\fBverbanta\\-cli\\fR %s\n' "$(roff <<<"$usage")"
        for section in Positionals Options; do
            while IFS=$'\t' read -r names text; do
                [ "$names" = "-h,--help" ] && continue
                printf '.TP\n\\fB%s\\fR%s\n%s\n' "$(roff <<<"${names%% *}")" \
                    "$(sed -n 's/^[^ ]*\( .*\)$/\1/p' <<<"$names" | roff)" "$(roff <<<"$text")"
            done < <(entries "$section" "$help")
        done
        words=$(entries Options "$help" | option_words | tr '\n' ' ')
        option_cases+=("        $command) options=\"${words% }\" ;;")
        while IFS=$'\t' read -r names _; do
            choices=$(sed -n 's/^[^{]*{\([^}]*\)}.*$/\1/p' <<<"$names" | tr ',' ' ')
            [ -n "$choices" ] || continue
            for option in $(option_words <<<"$names"); do
                choice_cases+=("        $command:$option) values=\"$choices\" ;;")
            done
        done < <(entries Options "$help")
    done
} >"$man_include"

top_options=$(entries Options "$top" | option_words | tr '\n' ' ')
{
    cat <<EOF
# bash completion for verbanta-cli, written from its help texts when it was built.
_verbanta_cli()
{
    local cur=\${COMP_WORDS[COMP_CWORD]} prev=\${COMP_WORDS[COMP_CWORD - 1]}
    local command="" i options values=""
    for ((i = 1; i < COMP_CWORD; i++)); do
        case \${COMP_WORDS[i]} in
            -*) ;;
            *) command=\${COMP_WORDS[i]}; break ;;
        esac
    done
    case \$command in
        "") options="${top_options% }" ;;
$(printf '%s\n' "${option_cases[@]}")
    esac
    case \$command:\$prev in
$(printf '%s\n' "${choice_cases[@]}")
    esac
    if [[ -n \$values ]]; then
        mapfile -t COMPREPLY < <(compgen -W "\$values" -- "\$cur")
    elif [[ \$cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "\$options" -- "\$cur")
    elif [[ -z \$command ]]; then
        mapfile -t COMPREPLY < <(compgen -W "${commands[*]}" -- "\$cur")
    else
        COMPREPLY=()  # file names, by the shell's own completion
    fi
}
complete -o default -F _verbanta_cli verbanta-cli
EOF
} >"$completion"
