#!/usr/bin/env bash
# Checks a built Debian package: unpacked into a scratch folder, every file a desktop expects is
# in place and passes the desktop's own validators, the manual page and the completion agree
# with the programs' help, and lintian finds no error in the package.
# Usage: check_package.sh PACKAGE.deb SCRATCH_FOLDER
set -euo pipefail

deb=$1
root=$2
rm -rf "$root"
dpkg -x "$deb" "$root"

failed=0
fail() {
    echo "package: $*" >&2
    failed=1
}

expected=(
    usr/bin/verbanta
    usr/bin/verbanta-cli
    usr/share/applications/verbanta.desktop
    usr/share/metainfo/org.example.verbanta.metainfo.xml
    usr/share/icons/hicolor/scalable/apps/verbanta.svg
    usr/share/man/man1/verbanta.1.gz
    usr/share/man/man1/verbanta-cli.1.gz
    usr/share/bash-completion/completions/verbanta-cli
    usr/share/doc/verbanta/verbanta_help.html
    usr/share/doc/verbanta/copyright
    usr/share/doc/verbanta/changelog.gz
    usr/share/doc-base/verbanta
)
for size in 16 22 24 32 48 64 128 256 512; do
    expected+=("usr/share/icons/hicolor/${size}x${size}/apps/verbanta.png")
done
for file in "${expected[@]}"; do
    [ -s "$root/$file" ] || fail "missing or empty: /$file"
done
for size in 16 22 24 32 48 64 128 256 512; do
    png=$root/usr/share/icons/hicolor/${size}x${size}/apps/verbanta.png
    if [ -f "$png" ] && ! file -b "$png" | grep -q "PNG image data, $size x $size,"; then
        fail "the ${size}x${size} icon is not a $size x $size PNG"
    fi
done
# The help page carries the key table the program fills in.
if ! grep -q '<td>Ctrl+S</td>' "$root/usr/share/doc/verbanta/verbanta_help.html"; then
    fail "the help page has no key table"
fi

desktop-file-validate "$root/usr/share/applications/verbanta.desktop" || fail "desktop entry"
appstreamcli validate-tree --no-net "$root" || fail "software-centre metadata"

# Every option the editor's help names is in its manual page.
options=$(QT_QPA_PLATFORM=offscreen "$root/usr/bin/verbanta" --help 2>/dev/null |
          grep -o -- '--[a-z][a-z-]*' | sort -u)
page=$(zcat "$root/usr/share/man/man1/verbanta.1.gz" | sed 's/\\-/-/g')
for option in $options; do
    grep -q -- "$option" <<<"$page" || fail "verbanta.1 does not describe $option"
done

# The completion offers every command of the command-line tool's help, and an option's values.
cli=$root/usr/bin/verbanta-cli
commands=$("$cli" --help | awk '/^Subcommands:/ { s = 1; next } s && NF { print $1 }' | sort)
completion=$root/usr/share/bash-completion/completions/verbanta-cli
complete_words() {
    bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _verbanta_cli
             printf "%s\n" "${COMPREPLY[@]}"' - "$completion" "$@"
}
if [ -z "$commands" ] || [ "$(complete_words verbanta-cli "" | sort)" != "$commands" ]; then
    fail "the completion does not offer the commands of verbanta-cli --help"
fi
if [ "$(complete_words verbanta-cli resave --encoding utf-16)" != utf-16le ]; then
    fail "the completion does not offer the values of resave --encoding"
fi

lintian --fail-on error "$deb" || fail "lintian found errors"

if [ "$failed" -ne 0 ]; then
    exit 1
fi
echo "package: $(basename "$deb"): ${#expected[@]} files in place, all checks passed"
