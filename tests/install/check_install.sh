#!/bin/sh
# Installs the build into a DESTDIR, as a package would, and checks that
# every file is there, that the installed programs start, and that the desktop
# entry and the AppStream metainfo pass their validators.
#
# Usage: check_install.sh CMAKE BUILD-FOLDER STAGE-FOLDER
set -eu
cmake=$1 build=$2 stage=$3
rm -rf "$stage"
DESTDIR="$stage" "$cmake" --install "$build" --prefix /usr >/dev/null
usr=$stage/usr
id=org.velistrad.Simulator

failed=0
for file in bin/velistrad bin/velistrad-cli \
  share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
  share/mime/packages/$id.xml share/icons/hicolor/scalable/apps/$id.svg \
  share/icons/hicolor/16x16/apps/$id.png share/icons/hicolor/48x48/apps/$id.png \
  share/icons/hicolor/256x256/apps/$id.png \
  share/man/man1/velistrad.1.gz share/man/man1/velistrad-cli.1.gz share/doc/velistrad/copyright; do
  [ -s "$usr/$file" ] || { echo "not installed: $file"; failed=1; }
done
for program in velistrad velistrad-cli; do
  [ -x "$usr/bin/$program" ] || { echo "not executable: bin/$program"; failed=1; }
done

# The desktop opens script files with the program only when the two agree.
mime=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$usr/share/mime/packages/$id.xml")
grep -qx "MimeType=$mime;" "$usr/share/applications/$id.desktop" ||
  { echo "the desktop entry does not open $mime"; failed=1; }
grep -q 'pattern="\*\.vsim"' "$usr/share/mime/packages/$id.xml" ||
  { echo "the MIME type does not match *.vsim"; failed=1; }

desktop-file-validate "$usr/share/applications/$id.desktop" || failed=1
appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml" || failed=1
"$usr/bin/velistrad-cli" list >/dev/null || { echo "installed velistrad-cli does not run"; failed=1; }
# Qt keeps what it allocated until the process ends; that is no leak of ours.
ASAN_OPTIONS=detect_leaks=0 "$usr/bin/velistrad" --version >/dev/null || { echo "installed velistrad does not run"; failed=1; }

rm -rf "$stage"
exit "$failed"
