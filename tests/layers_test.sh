#!/bin/sh
# The include check: the tree passes, and each planted include that points up
# is named with its file and line (one that points down is let through).
# Usage: tests/layers_test.sh SOURCE_DIR
src=$1
check="$src/tools/layers"
"$check" "$src" >/dev/null || { "$check" "$src"; echo "FAIL: the tree has includes that point up"; exit 1; }

work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
fails=0
# file, include, expected exit code
while read -r file target want; do
  rm -rf "$work/t" && mkdir -p "$work/t/$(dirname "$file")"
  printf '// planted\n#include "%s"\n' "$target" >"$work/t/$file"
  out=$("$check" "$work/t"); got=$?
  if [ "$got" != "$want" ]; then
    echo "FAIL: $file including $target: exit $got, expected $want"; fails=1
  elif [ "$want" = 1 ] && ! echo "$out" | grep -q "^$file:2: includes $target "; then
    echo "FAIL: $file including $target not named with its line: $out"; fails=1
  fi
done <<'TABLE'
library/core/x.cpp shell/gamestate.h 1
library/graphics/x.h game/scenes/menu.h 1
game/shell/x.cpp playfield/bullet.h 1
game/shell/x.h scenes/menu.h 1
game/shell/x.cpp boss/script_context.h 1
game/playfield/x.cpp scenes/stageresult.h 1
game/playfield/stages/x.cpp scenes/ending.h 1
game/boss/x.cpp playfield/bullet.h 1
game/boss/x.cpp shell/gamestate.h 1
game/boss/x.cpp boss/idioms.h 0
game/boss/x.cpp playfield/boss.h 0
game/playfield/x.cpp boss/script_context.h 0
game/scenes/x.cpp playfield/player.h 0
game/shell/x.cpp library/tesra.h 0
TABLE
[ "$fails" = 0 ] && echo "layers: the tree and 14 planted includes as expected"
exit "$fails"
