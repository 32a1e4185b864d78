#!/bin/sh
# release_install.sh install BUILD_DIR PREFIX
# release_install.sh uninstall PREFIX
#
# install: installs the release build in BUILD_DIR under PREFIX with its
# programs stripped, and records in PREFIX/share/tarnel/installed what it
# put there: every file, and every folder that did not exist before.
# uninstall: removes exactly what that record names (files first, then the
# folders it made, where they are empty), and the record itself.
#
# The file type database under PREFIX/share/mime is refreshed on both ways
# when update-mime-database is present; the database's files are generated,
# and go with the folder when the install made it.
set -eu

refresh_mime() {
  if command -v update-mime-database >/dev/null 2>&1 && [ -d "$1/share/mime/packages" ]; then
    update-mime-database "$1/share/mime" >/dev/null
  fi
}

case ${1:-} in
  install)
    [ $# -eq 3 ] || { echo "usage: $0 install BUILD_DIR PREFIX" >&2; exit 2; }
    build=$2
    prefix=$3
    case $prefix in /*) ;; *) prefix=$(pwd)/$prefix ;; esac
    record=$prefix/share/tarnel/installed
    stage=$(mktemp -d)
    trap 'rm -rf "$stage"' EXIT
    # A staged install names the files and folders beforehand, so that the
    # record holds only the folders that an install created. A second
    # install keeps what the first one recorded.
    DESTDIR=$stage/root cmake --install "$build" --prefix "$prefix" --strip >/dev/null
    (cd "$stage/root$prefix" && find . -type d) >"$stage/folders"
    (cd "$stage/root$prefix" && find . ! -type d) >"$stage/files"
    echo ./share/tarnel >>"$stage/folders"
    {
      [ -f "$record" ] && grep '^folder ' "$record"
      # PREFIX itself and those above it that do not exist yet.
      folder=$prefix
      while [ ! -d "$folder" ]; do
        echo "folder $folder"
        folder=$(dirname "$folder")
      done
      while IFS= read -r folder; do
        [ "$folder" = "." ] && continue
        [ -d "$prefix/${folder#./}" ] || echo "folder $prefix/${folder#./}"
      done <"$stage/folders"
    } | sort -u >"$stage/made"
    cmake --install "$build" --prefix "$prefix" --strip
    mkdir -p "$prefix/share/tarnel"
    {
      while IFS= read -r file; do echo "file $prefix/${file#./}"; done <"$stage/files"
      cat "$stage/made"
    } >"$record"
    refresh_mime "$prefix"
    echo "installed under $prefix; make uninstall PREFIX=$prefix removes it"
    ;;
  uninstall)
    [ $# -eq 2 ] || { echo "usage: $0 uninstall PREFIX" >&2; exit 2; }
    prefix=$2
    case $prefix in /*) ;; *) prefix=$(pwd)/$prefix ;; esac
    record=$prefix/share/tarnel/installed
    if [ ! -f "$record" ]; then
      echo "nothing to uninstall: $record is missing" >&2
      exit 1
    fi
    entries=$(cat "$record")
    echo "$entries" | sed -n 's/^file //p' | while IFS= read -r file; do
      if [ -e "$file" ] || [ -L "$file" ]; then rm -f "$file"; fi
    done
    rm -f "$record"
    # The file type database holds generated files only: it goes with its
    # folder when the install made the folder and no other type is left
    # in it, and is otherwise rebuilt without the Tarnel type.
    mime=$prefix/share/mime
    if echo "$entries" | grep -qxF "folder $mime" &&
      [ -z "$(ls -A "$mime/packages" 2>/dev/null)" ]; then
      rm -rf "$mime"
    else
      refresh_mime "$prefix"
    fi
    # The folders the install made, deepest first; one that holds anything
    # else now stays.
    echo "$entries" | sed -n 's/^folder //p' | awk '{ print length, $0 }' | sort -rn |
      cut -d' ' -f2- | while IFS= read -r folder; do
      rmdir "$folder" 2>/dev/null || true
    done
    echo "uninstalled from $prefix"
    ;;
  *)
    echo "usage: $0 install BUILD_DIR PREFIX | uninstall PREFIX" >&2
    exit 2
    ;;
esac
