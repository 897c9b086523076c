#!/usr/bin/env bash
# Checks a built Debian package as a user meets it. Unpacked into a temporary root: the files
# are where they belong and the package's metadata validates; the template database holds
# nothing of a site; the installed desktop program starts as an ordinary user (finding its
# templates beside it, read-only to it), shows its window and closes cleanly; the installed
# command-line tool works from the per-user folder made from the templates; the shell
# completion offers what `smsv48ctl --help` lists, and the ports the tool finds after --device;
# the licence and changelog are there; a profile is recognised by its MIME type; lintian finds
# neither errors nor warnings.
# usage: scripts/package-check.sh PACKAGE.deb
set -euo pipefail
deb=$(realpath "$1")
fail() {
  echo "package-check: $*" >&2
  exit 1
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
id=io.github.smsv48.Tool

# ---- the package and its files ---------------------------------------------------------------
dpkg-deb --field "$deb" Package Version Architecture Section Priority Maintainer Homepage Depends Recommends
[ "$(dpkg-deb --field "$deb" Package)" = smsv48 ] || fail "the package is not called smsv48"
version=$(dpkg-deb --field "$deb" Version)
depends=$(dpkg-deb --field "$deb" Depends)
for d in libqt6sql6-sqlite libqt6svg6 qt6-translations-l10n libqt6widgets6 libqt6serialport6 libqt6printsupport6 libsqlite3-0; do
  grep -Eq "(^|[ ,])$d([ ,(]|$)" <<<"$depends" || fail "Depends lacks $d: $depends"
done

root=$work/root
dpkg -x "$deb" "$root"
share=$root/usr/share
for f in usr/bin/sms_switch_vantor usr/bin/smsv48ctl usr/bin/smsv48-sim \
  usr/share/smsv48/Datenbank/SMS_Vantor.sqlite usr/share/smsv48/UserProfile/SMSV48_Default.cfg \
  usr/share/smsv48/help/{de,en,it,fr}/index.html \
  usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml \
  usr/share/icons/hicolor/scalable/apps/$id.svg usr/share/icons/hicolor/256x256/apps/$id.png \
  usr/share/man/man1/{smsv48ctl,smsv48-sim,sms_switch_vantor}.1.gz \
  usr/share/bash-completion/completions/smsv48ctl \
  usr/share/doc/smsv48/copyright usr/share/doc/smsv48/changelog.gz \
  usr/share/mime/packages/$id.xml usr/share/icons/hicolor/scalable/mimetypes/application-x-smsv48-profile.svg; do
  [ -f "$root/$f" ] || fail "the package lacks $f"
done
for d in Download/Config Download/Firmware; do
  [ -d "$share/smsv48/$d" ] || fail "the package lacks the folder usr/share/smsv48/$d"
done
extra=$(find "$share/smsv48" -name '*-wal' -o -name '*-shm' -o -name '*.tmp' -o -name '.*')
[ -z "$extra" ] || fail "the templates hold files that are not theirs: $extra"
file -b "$share/icons/hicolor/256x256/apps/$id.png" | grep -q '256 x 256' || fail "the PNG icon is not 256 px"
desktop-file-validate "$share/applications/$id.desktop"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml"
if command -v groff >/dev/null; then
  for m in "$share"/man/man1/*.1.gz; do
    warnings=$(gzip -dc "$m" | groff -man -Tutf8 -ww -z 2>&1)
    [ -z "$warnings" ] || fail "$(basename "$m"): $warnings"
  done
fi

# ---- licence and changelog ------------------------------------------------------------------
src=$(cd "$(dirname "$0")/.." && pwd)
grep -q 'GNU GENERAL PUBLIC LICENSE' "$src/LICENSE" && grep -q 'Version 3, 29 June 2007' "$src/LICENSE" ||
  fail "LICENSE at the top of the source is not the GPL, version 3"
copyright=$share/doc/smsv48/copyright
head -n1 "$copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "usr/share/doc/smsv48/copyright is not in the machine-readable format"
grep -qx 'License: GPL-3.0+' "$copyright" || fail "usr/share/doc/smsv48/copyright does not name GPL-3.0+"
grep -q '<project_license>GPL-3.0-or-later</project_license>' "$share/metainfo/$id.metainfo.xml" ||
  fail "the metainfo has no project_license GPL-3.0-or-later"
gzip -dc "$share/doc/smsv48/changelog.gz" >"$work/changelog"
[ "$(dpkg-parsechangelog -l "$work/changelog" -S Version)" = "$version" ] ||
  fail "the changelog's newest entry is not version $version"
grep -q "<release version=\"$version\"" "$share/metainfo/$id.metainfo.xml" || fail "the metainfo has no release $version"

# ---- the profile's MIME type, as the file manager finds it ------------------------------------
grep -qx 'MimeType=application/x-smsv48-profile;' "$share/applications/$id.desktop" ||
  fail "the desktop entry does not take application/x-smsv48-profile"
update-mime-database "$share/mime"
mime() { env -i PATH=/usr/bin:/bin HOME="$work" XDG_DATA_DIRS="$share:/usr/share" XDG_DATA_HOME="$work/none" "$@"; }
cp "$share/smsv48/UserProfile/SMSV48_Default.cfg" "$work/site.cfg"
printf '[unit]\nname=other\n' >"$work/other.cfg"
got=$(mime xdg-mime query filetype "$work/site.cfg")
[ "$got" = application/x-smsv48-profile ] || fail "xdg-mime takes a profile for $got"
if command -v gio >/dev/null; then
  got=$(mime gio info -a standard::content-type "$work/site.cfg" | awk '/content-type/ {print $2}')
  [ "$got" = application/x-smsv48-profile ] || fail "GIO takes a profile for $got"
  got=$(mime gio info -a standard::content-type "$work/other.cfg" | awk '/content-type/ {print $2}')
  [ "$got" = text/plain ] || fail "GIO takes another program's .cfg file for $got"
fi

# ---- lintian: neither errors nor warnings -----------------------------------------------------
lintian --fail-on error,warning "$deb" ||
  fail "lintian finds errors or warnings in the package"

# ---- the template database: the pristine one, nothing of a site ------------------------------
template=$share/smsv48/Datenbank/SMS_Vantor.sqlite
sql() { sqlite3 -readonly "file:$template?immutable=1" "$1"; }
users=$(printf 'Benutzer%d+' 1 2 3 4 5 6 7 8)0
[ "$(sql "PRAGMA user_version")" -ge 1 ] || fail "the template database carries no schema version"
[ "$(sql "SELECT COUNT(*) FROM Adressen WHERE COALESCE(Namen,'') <> '' OR COALESCE(Natel_Nummer,'') <> ''
          OR COALESCE(Passwort,'') <> '' OR Operator <> 0 OR Status <> 0")" = 0 ] ||
  fail "the template database holds phone-book entries (names, numbers, passwords)"
[ "$(sql "SELECT COUNT(*) FROM SMS WHERE COALESCE(Deutsch,'') || COALESCE(Englisch,'') || COALESCE(Italienisch,'')
          || COALESCE(\"Französisch\",'') <> ''")" = 0 ] || fail "the template database holds SMS texts"
[ "$(sql "SELECT (SELECT COUNT(*) FROM \"Konfiguration_Eingänge\" WHERE $users <> 0)
               + (SELECT COUNT(*) FROM \"Konfiguration_Ausgänge\" WHERE $users <> 0)
               + (SELECT COUNT(*) FROM Alarm_Dispositiv WHERE $users <> 0)
               + (SELECT COUNT(*) FROM PowerOn WHERE $users <> 0)")" = 0 ] ||
  fail "the template database has recipients set"
template_sum=$(sha256sum <"$template")

# ---- the installed programs, as an ordinary user ---------------------------------------------
home=$work/home
settings=$work/settings
runtime=$work/runtime
mkdir -p "$home" "$settings"
mkdir -m 700 "$runtime"
as_user=()
if [ "$(id -u)" = 0 ]; then
  # As root every folder is writable: run as nobody, so the templates are as read-only to the
  # program as in an installed system.
  chown nobody:nogroup "$home" "$settings" "$runtime"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
run() {
  env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$runtime" SMSV48_SETTINGS_DIR="$settings" \
    SMSV48_SERIAL_PORTS= QT_QPA_PLATFORM=offscreen "${as_user[@]}" "$@"
}

# The desktop program: SMSV48_QUIT_WHEN_SHOWN makes it print "shown" once its main window is up
# and "painted" after its first paint, and then close it as the user would.
rc=0
out=$(run env SMSV48_QUIT_WHEN_SHOWN=1 timeout 60 "$root/usr/bin/sms_switch_vantor" 2>"$work/stderr") || rc=$?
cat "$work/stderr" >&2
[ "$rc" = 0 ] || fail "the installed sms_switch_vantor ended with exit code $rc"
[ "$out" = "$(printf 'shown\npainted')" ] || fail "the installed sms_switch_vantor did not show its window (stdout: $out)"
userdir=$home/.local/share/SMS_Switch_Vantor
for f in Datenbank/SMS_Vantor.sqlite UserProfile/SMSV48_Default.cfg help/de/index.html; do
  [ -f "$userdir/$f" ] || fail "the per-user folder $userdir was not made from the templates: $f is missing"
done
[ "$(sha256sum <"$template")" = "$template_sum" ] || fail "the program changed the installed template database"

[ "$(run "$root/usr/bin/smsv48ctl" --version)" = "smsv48ctl $version" ] || fail "smsv48ctl --version does not say $version"
run "$root/usr/bin/smsv48ctl" profile save -o "$home/saved.cfg"
[ -s "$home/saved.cfg" ] || fail "the installed smsv48ctl wrote no profile"
run "$root/usr/bin/smsv48-sim" --help >/dev/null

# ---- the shell completion against the tool's own help -----------------------------------------
if [ -f /usr/share/bash-completion/bash_completion ]; then
  help=$(run "$root/usr/bin/smsv48ctl" --help)
  complete_words() { # the completion's offers after "smsv48ctl WORDS... "
    bash -c 'source /usr/share/bash-completion/bash_completion; source "$1"; shift
      COMP_WORDS=(smsv48ctl "$@"); COMP_CWORD=$#; COMP_LINE="${COMP_WORDS[*]}"; COMP_POINT=${#COMP_LINE}
      _smsv48ctl; printf "%s\n" "${COMPREPLY[@]}"' _ "$share/bash-completion/completions/smsv48ctl" "$@" | sort -u
  }
  # What --help lists after each prefix of words: the commands, their subcommands, and the
  # words that may follow a subcommand ("param pin get|set-default [PIN|-]|change ...").
  declare -A listed=()
  while read -r c sub rest; do
    listed[smsv48ctl]+=" $c"
    for w in ${sub//|/ }; do
      if [[ $w =~ ^[a-z][a-z-]*$ ]]; then listed["smsv48ctl $c"]+=" $w"; fi
    done
    if [[ $sub =~ ^[a-z][a-z-]*$ ]]; then
      for w in $(tr '|[]' '   ' <<<"$rest"); do
        if [[ $w =~ ^[a-z][a-z-]*$ ]]; then listed["smsv48ctl $c $sub"]+=" $w"; fi
      done
    fi
  done < <(sed -n '/^commands:/,/^$/p' <<<"$help" | grep '^  [a-z]' | sed -E 's/^  //; s/ {2,}.*//')
  for line in "${!listed[@]}"; do
    want=$(tr ' ' '\n' <<<"${listed[$line]}" | grep . | sort -u)
    read -ra words <<<"${line#smsv48ctl}"
    got=$(complete_words "${words[@]}" "")
    [ "$got" = "$want" ] || fail "the completion after \"$line\" offers $(xargs <<<"$got"), --help lists $(xargs <<<"$want")"
  done
  # After --device: the ports smsv48ctl finds (here the ones it is told of) and the simulated unit.
  got=$(PATH="$root/usr/bin:$PATH" SMSV48_HOME="$userdir" SMSV48_SERIAL_PORTS=/dev/ttyUSB7:/dev/ttyS9 \
    complete_words --device "")
  [ "$got" = "$(printf '%s\n' /dev/ttyS9 /dev/ttyUSB7 sim | sort -u)" ] ||
    fail "the completion after --device offers $(xargs <<<"$got"), not the ports and sim"
  options=$(sed -n '/^options:/,/^$/p' <<<"$help" | awk '/^  -/ {print $1}' | sort -u)
  offered=$(complete_words -)
  [ -z "$(comm -23 <(echo "$options") <(echo "$offered"))" ] || fail "the completion lacks options of --help"
fi
echo "package-check: $(basename "$deb") is fine"
