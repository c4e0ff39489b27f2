#!/usr/bin/env bash
# Checks one aspect of the installed tree or the package.
#   check-install.sh CHECK BUILD_DIR STAGE_DIR
# "stage" installs the build into STAGE_DIR (prefix /usr); the other checks
# look at what it left there. "package" builds the .deb into STAGE_DIR.
set -euo pipefail
check=$1
build=$(realpath "$2")
stage=$(realpath -m "$3")
usr=$stage/usr
version=${ORNA5_VERSION:?}
id=org.orna5.Orna5

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

case $check in
stage)
  rm -rf "$stage"
  DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null
  ;;

tree)
  expected=(
    bin/orna5 bin/orna5ctl bin/orna5-sim
    share/applications/$id.desktop
    share/metainfo/$id.metainfo.xml
    share/mime/packages/orna5.xml
    share/icons/hicolor/scalable/apps/orna5.svg
    share/icons/hicolor/48x48/apps/orna5.png
    share/icons/hicolor/256x256/apps/orna5.png
    share/icons/hicolor/scalable/mimetypes/application-x-orna5-ign.svg
    share/man/man1/orna5.1.gz share/man/man1/orna5ctl.1.gz share/man/man1/orna5-sim.1.gz
    share/bash-completion/completions/orna5ctl
    lib/udev/rules.d/70-orna5-serial.rules
    share/doc/orna5/README.md share/doc/orna5/copyright share/doc/orna5/changelog.gz
    share/doc/orna5/manual_zentor_orna_5_en.pdf share/doc/orna5/manual_zentor_orna_5_de.pdf
    share/doc/orna5/manual_zentor_orna_5_fr.pdf share/doc/orna5/manual_zentor_orna_5_cz.pdf
  )
  for f in "${expected[@]}"; do
    [ -s "$usr/$f" ] || fail "missing $f"
  done
  for p in orna5 orna5ctl orna5-sim; do
    [ -x "$usr/bin/$p" ] || fail "bin/$p is not executable"
  done
  # Nothing but the expected files (test programs and build helpers stay out).
  extra=$(cd "$usr" && find . -type f | sed 's|^\./||' | sort |
    grep -vxF -f <(printf '%s\n' "${expected[@]}" share/icons/hicolor/48x48/mimetypes/application-x-orna5-ign.png share/icons/hicolor/256x256/mimetypes/application-x-orna5-ign.png) || true)
  [ -z "$extra" ] || fail "unexpected files installed: $extra"
  # PNGs of the size their folder says.
  for size in 48 256; do
    kind=$(file -b "$usr/share/icons/hicolor/${size}x${size}/apps/orna5.png")
    [[ $kind == "PNG image data, $size x $size,"* ]] || fail "${size}px icon is: $kind"
  done
  ;;

version)
  for p in orna5 orna5ctl orna5-sim; do
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$usr/bin/$p" --version)
    [ "$out" = "$p $version" ] || fail "$p --version said '$out'"
  done
  ;;

desktop)
  f=$usr/share/applications/$id.desktop
  desktop-file-validate "$f"
  grep -qx 'Exec=orna5 %f' "$f" || fail "Exec line"
  grep -qx 'MimeType=application/x-orna5-ign;' "$f" || fail "MimeType line"
  grep -qx 'Terminal=false' "$f" || fail "Terminal line"
  for lang in de fr cs; do
    for key in Name GenericName Comment; do
      grep -q "^$key\[$lang\]=" "$f" || fail "no $key[$lang]"
    done
  done
  ;;

metainfo)
  f=$usr/share/metainfo/$id.metainfo.xml
  appstreamcli validate --no-net "$f"
  grep -q "<release version=\"$version\"" "$f" || fail "metainfo names no release $version"
  grep -q '<launchable type="desktop-id">'"$id"'.desktop</launchable>' "$f" || fail "launchable"
  ;;

mime)
  f=$usr/share/mime/packages/orna5.xml
  xmllint --noout "$f"
  # Build a MIME database from the file alone and see that both the glob and
  # the key line made it in.
  data=$(mktemp -d)
  trap 'rm -rf "$data"' EXIT
  db=$data/mime
  mkdir -p "$db/packages"
  cp "$f" "$db/packages/"
  out=$(XDG_DATA_DIRS=$data update-mime-database "$db" 2>&1)
  [ -z "$out" ] || fail "update-mime-database: $out"
  grep -q 'application/x-orna5-ign:\*\.ign' "$db/globs2" || fail "no *.ign glob"
  grep -aq 'KAMBRIX_KEY' "$db/magic" || fail "no magic line"
  ;;

man)
  for p in orna5 orna5ctl orna5-sim; do
    page=$usr/share/man/man1/$p.1.gz
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$p.1: $warnings"
    text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>/dev/null)
    grep -q "$version" <<<"$text" || fail "$p.1 does not name version $version"
  done
  ;;

completion)
  f=$usr/share/bash-completion/completions/orna5ctl
  bash -n "$f"
  # Load it the way bash-completion does and ask for the commands.
  out=$(bash -c '_init_completion() { cur=${COMP_WORDS[COMP_CWORD]}; prev=${COMP_WORDS[COMP_CWORD-1]};
                   words=("${COMP_WORDS[@]}"); cword=$COMP_CWORD; }
                 _filedir() { :; }
                 source "$1"
                 COMP_WORDS=(orna5ctl pr); COMP_CWORD=1; _orna5ctl; echo "${COMPREPLY[*]}"
                 COMP_WORDS=(orna5ctl monitor --); COMP_CWORD=2; _orna5ctl; echo "${COMPREPLY[*]}"' _ "$f")
  [ "$out" = $'program\n--port --count --csv --params --rate' ] || fail "completion gave: $out"
  ;;

manuals)
  for lang in en de fr cz; do
    pdf=$usr/share/doc/orna5/manual_zentor_orna_5_$lang.pdf
    pages=$(pdfinfo "$pdf" | awk '/^Pages:/ { print $2 }')
    [ "${pages:-0}" -ge 5 ] || fail "$lang manual has ${pages:-no} pages"
    # Every screenshot made it in: one image per page of the window at least.
    images=$(pdfimages -list "$pdf" | tail -n +3 | wc -l)
    [ "$images" -ge 4 ] || fail "$lang manual holds $images pictures"
    text=$(pdftotext "$pdf" -)
    grep -q "$version" <<<"$text" || fail "$lang manual does not name version $version"
  done
  ;;

package)
  rm -rf "$stage"
  mkdir -p "$stage"
  (cd "$build" && cpack -G DEB -B "$stage" >/dev/null)
  arch=$(dpkg --print-architecture)
  deb=$stage/orna5_${version}_$arch.deb
  [ -f "$deb" ] || fail "no $(basename "$deb"): $(ls "$stage")"
  contents=$(dpkg-deb -c "$deb")
  for f in ./usr/bin/orna5 ./usr/bin/orna5ctl ./usr/bin/orna5-sim \
    ./usr/share/applications/$id.desktop ./usr/share/mime/packages/orna5.xml \
    ./usr/share/doc/orna5/manual_zentor_orna_5_cz.pdf ./usr/share/man/man1/orna5ctl.1.gz \
    ./usr/lib/udev/rules.d/70-orna5-serial.rules; do
    grep -q " $f\$" <<<"$contents" || fail "package lacks $f"
  done
  depends=$(dpkg-deb -f "$deb" Depends)
  grep -q 'libqt6serialport6' <<<"$depends" || fail "Depends worked out wrongly: $depends"
  dpkg-deb -I "$deb" postinst >/dev/null || fail "no postinst"
  grep -q 'qt6-translations-l10n' <<<"$depends" || fail "Depends lacks Qt's translations: $depends"
  recommends=$(dpkg-deb -f "$deb" Recommends)
  grep -q 'qt6-wayland' <<<"$recommends" || fail "Recommends lacks qt6-wayland: $recommends"
  # Debian's own checker: no errors, no warnings.
  report=$(lintian --tag-display-limit 0 "$deb" 2>&1 || true)
  problems=$(grep -E '^[EW]: ' <<<"$report" || true)
  [ -z "$problems" ] || fail "lintian: $problems"
  ;;

*)
  fail "unknown check $check"
  ;;
esac
