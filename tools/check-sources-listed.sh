#!/bin/sh
# Every source file of the tree is named in a CMakeLists.txt (the source lists
# are written out, not globbed): a new file that nobody listed would otherwise
# be left out of the build without a word.
cd "$(dirname "$0")/.." || exit 2
# Outside a git checkout there is no list of the tree's files to check.
git rev-parse --is-inside-work-tree >/dev/null 2>&1 || exit 77
status=0
for file in $(git ls-files -co --exclude-standard 'src/*.cpp' 'tests/*.cpp' 'bench/*.cpp' 'fuzz/*.cpp'); do
  listed=no
  case $file in
    fuzz/fuzz_*.cpp)  # one per fuzz target, named in the list of targets
      target=${file#fuzz/fuzz_}
      grep -Eq "^set\(VEXAMO_FUZZ_TARGETS .*\b${target%.cpp}\b" fuzz/CMakeLists.txt && continue ;;
  esac
  dir=$(dirname "$file")
  while :; do
    if [ -f "$dir/CMakeLists.txt" ]; then
      relative=${file#"$dir"/}
      [ "$dir" = . ] && relative=$file
      if grep -Eq "(^|[[:space:](])$relative([[:space:])]|\$)" "$dir/CMakeLists.txt"; then listed=yes; break; fi
    fi
    [ "$dir" = . ] && break
    dir=$(dirname "$dir")
  done
  if [ $listed = no ]; then echo "not listed in any CMakeLists.txt: $file"; status=1; fi
done
exit $status
