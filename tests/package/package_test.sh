#!/usr/bin/env bash
# Builds the Debian package from a build tree, unpacks it into a temporary root (never installing
# it), and runs the unpacked varid-convert and varid-converter from there:
#  - installed: the program folder is read-only for the user who runs it, so the user's files go
#    to $HOME/.config/varid-converter/ and nothing is written into the program folder;
#  - portable: a copy of the program folder the user may write to keeps the files beside it.
# Root may write anywhere, so as root the programs run as the unprivileged user "nobody" (setpriv);
# as another user the unpacked program folder is made read-only with chmod.
# Usage: package_test.sh BUILD_DIR CPACK MEDIA_DIR
set -euo pipefail
build=$1 cpack=$2 media=$3
skip=77

fail() { echo "FAIL: $*" >&2; exit 1; }

tmp=$(mktemp -d)
gui=
cleanup() {
  [ -z "$gui" ] || kill "$gui" 2>/dev/null || true
  chmod -R u+w "$tmp" 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT
chmod 755 "$tmp"

# The prefix that runs a command as the user the installed case needs (it replaces itself with
# the command, so a background start's process id is the program's).
if [ "$(id -u)" -eq 0 ]; then
  command -v setpriv >/dev/null || { echo "setpriv is missing: cannot drop root"; exit $skip; }
  id nobody >/dev/null 2>&1 || { echo "no user nobody"; exit $skip; }
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
  give() { chown -R nobody:nogroup "$@"; }
else
  as_user=()
  give() { :; }
fi

echo "== package"
"$cpack" --config "$build/CPackConfig.cmake" -B "$tmp/cpack" -D CPACK_DEBIAN_COMPRESSION_TYPE=gzip >"$tmp/cpack.log" 2>&1 ||
  { cat "$tmp/cpack.log"; fail "cpack failed"; }
deb=$(ls "$tmp"/cpack/*.deb)
dpkg-deb -f "$deb" Depends | tee "$tmp/depends"
for dep in ffmpeg libavcodec-extra libqt6widgets6 libmediainfo0v5 libavformat59; do
  grep -q "\b$dep\b" "$tmp/depends" || fail "Depends lacks $dep"
done

echo "== unpack"
root=$tmp/root
dpkg-deb -x "$deb" "$root"
program=$root/usr/lib/varid-converter
for f in varid-converter varid-convert avcore.dll langs/English.ini langs/English_help.html skins/Splash.png; do
  [ -e "$program/$f" ] || fail "$f missing in the program folder"
done
[ -x "$root/usr/bin/varid-convert" ] || fail "usr/bin/varid-convert missing"
[ "$(readlink -f "$root/usr/bin/varid-converter")" = "$(readlink -f "$program/varid-converter")" ] ||
  fail "usr/bin/varid-converter does not lead to the program folder"
desktop=$root/usr/share/applications/org.varid.VideoConverter.desktop
[ -f "$desktop" ] || fail "desktop entry missing"
[ -f "$root/usr/share/icons/hicolor/scalable/apps/org.varid.VideoConverter.svg" ] || fail "icon missing"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate-tree --no-net "$root/usr" || fail "appstreamcli validate-tree"
[ "$(id -u)" -eq 0 ] || chmod -R a-w "$program"

mkdir -p "$tmp/home" "$tmp/out" "$tmp/portable-home" "$tmp/portable-out" "$tmp/run"
chmod 700 "$tmp/run"
give "$tmp/home" "$tmp/out" "$tmp/portable-home" "$tmp/portable-out" "$tmp/run"
before=$(cd "$program" && find . | sort)
# The environment of every run: a temporary home, nothing of the caller's.
environment() { # HOME: sets the array env_of
  env_of=(env -i PATH=/usr/bin:/bin HOME="$1" XDG_RUNTIME_DIR="$tmp/run" LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen
    ASAN_OPTIONS=detect_leaks=0)
}
run() { # HOME, program, arguments...
  environment "$1"
  shift
  "${as_user[@]}" "${env_of[@]}" "$@"
}

echo "== installed: varid-convert"
run "$tmp/home" "$root/usr/bin/varid-convert" --format WAV --output "$tmp/out" "$media/viper.mp3" ||
  fail "the unpacked varid-convert did not convert"
[ -s "$tmp/out/viper.wav" ] || fail "no output file"
config=$tmp/home/.config/varid-converter
for f in options.ini langs/English_Profile/mp3 langs/English_Profile/DirectShow.avs; do
  [ -e "$config/$f" ] || fail "$f missing in the configuration folder"
done
[ "$(ls "$config/langs/English_Profile/mp4" | wc -l)" -gt 0 ] || fail "profiles not seeded"
[ ! -e "$config/langs/English.ini" ] || fail "the shipped language file was copied"

echo "== installed: varid-converter with a file"
gui_log=$tmp/gui.log
rm -rf "$config"
environment "$tmp/home"
"${as_user[@]}" "${env_of[@]}" "$root/usr/bin/varid-converter" "$media/viper.mp3" >"$gui_log" 2>&1 &
gui=$!
for _ in $(seq 1 600); do
  [ -e "$config/options.ini" ] && [ -S "$tmp/run/varid-converter.socket" ] && break
  kill -0 $gui 2>/dev/null || { cat "$gui_log"; fail "the unpacked varid-converter ended early"; }
  sleep 0.1
done
[ -e "$config/options.ini" ] || { kill $gui; cat "$gui_log"; fail "varid-converter wrote no options.ini to the configuration folder"; }
# A second start with a file hands it to the running window and ends.
handed=0
run "$tmp/home" timeout 60 "$root/usr/bin/varid-converter" "$media/frog.mp4" || handed=$?
kill $gui 2>/dev/null || true
wait $gui 2>/dev/null || true
gui=
[ $handed -eq 0 ] || { cat "$gui_log"; fail "the second start did not hand its file over (status $handed)"; }

after=$(cd "$program" && find . | sort)
[ "$before" = "$after" ] || { diff <(echo "$before") <(echo "$after"); fail "files written into the program folder"; }

echo "== portable"
[ "$(id -u)" -eq 0 ] || chmod -R u+w "$program"
portable=$tmp/portable
cp -a "$program" "$portable"
give "$portable"
run "$tmp/portable-home" "$portable/varid-convert" --format WAV --output "$tmp/portable-out" "$media/viper.mp3" ||
  fail "the portable varid-convert did not convert"
[ -s "$tmp/portable-out/viper.wav" ] || fail "no portable output file"
[ -e "$portable/options.ini" ] || fail "portable: options.ini not beside the executable"
[ ! -e "$tmp/portable-home/.config/varid-converter" ] || fail "portable: files went to the configuration folder"
echo "package test passed"
