#!/bin/sh
# The include check: the tree passes, and each planted include that points up,
# however it is spelled, is named with its file and line (one that points down
# is let through). Each include is planted in a copy of the tree's library,
# game and CMakeLists.txt, so it is resolved against the real headers and
# include folders.
# Usage: tests/layers_test.sh SOURCE_DIR
src=$1
check="$src/tools/layers"
"$check" "$src" >/dev/null || { "$check" "$src"; echo "FAIL: the tree has includes that point up"; exit 1; }

work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
cp -R "$src/CMakeLists.txt" "$src/library" "$src/game" "$work"/ || exit 1
fails=0 rows=0
# file, expected exit code, the include line planted on line 2
while read -r file want line; do
  rows=$((rows + 1))
  printf '// planted\n%s\n' "$line" >"$work/$file"
  out=$("$check" "$work"); got=$?
  rm -f "$work/$file"
  # Named as written: a quoted target bare, a bracketed one with its brackets.
  named=$(printf '%s\n' "$line" | sed -E 's/^#[[:space:]]*include[[:space:]]*//; s/^"(.*)"$/\1/')
  if [ "$got" != "$want" ]; then
    echo "FAIL: $file with $line: exit $got, expected $want"; fails=1
  elif [ "$want" = 1 ] && [ "$(printf '%s\n' "$out" | grep -cF "$file:2: includes $named (")" != 1 ]; then
    echo "FAIL: $file with $line not named with its line: $out"; fails=1
  fi
done <<'TABLE'
library/core/x.cpp 1 #include "shell/gamestate.h"
library/graphics/x.h 1 #include "game/scenes/menu.h"
game/shell/x.cpp 1 #include "playfield/bullet.h"
game/shell/x.h 1 #include "scenes/menu.h"
game/shell/x.cpp 1 #include "boss/script_context.h"
game/playfield/x.cpp 1 #include "scenes/stageresult.h"
game/playfield/stages/x.cpp 1 #include "scenes/ending.h"
game/boss/x.cpp 1 #include "playfield/bullet.h"
game/boss/x.cpp 1 #include "shell/gamestate.h"
game/boss/x.cpp 0 #include "boss/idioms.h"
game/boss/x.cpp 0 #include "playfield/boss.h"
game/playfield/x.cpp 0 #include "boss/script_context.h"
game/scenes/x.cpp 0 #include "playfield/player.h"
game/shell/x.cpp 0 #include "library/tesra.h"
game/shell/x.cpp 1 #include "../playfield/bullet.h"
library/core/x.cpp 1 #include "../../game/shell/gamestate.h"
game/playfield/x.cpp 1 #include "../scenes/menu.h"
game/shell/x.cpp 1 #include "game/playfield/bullet.h"
game/playfield/x.cpp 1 #include "game/scenes/menu.h"
game/shell/x.cpp 1 #include <playfield/bullet.h>
game/boss/x.cpp 1 #include <playfield/bullet.h>
library/core/x.cpp 1 #include <shell/gamestate.h>
game/boss/x.cpp 1 #include "boss/../playfield/bullet.h"
game/shell/x.hpp 1 #include "../playfield/bullet.h"
game/playfield/x.inc 1 #include "game/scenes/menu.h"
library/sound/x.hh 1 #	include<shell/gamestate.h>
game/shell/x.cc 1 #  include "./../scenes/./menu.h"
game/scenes/x.cpp 0 #include "../shell/gamestate.h"
game/boss/x.cpp 0 #include "../playfield/boss.h"
game/boss/x.cpp 0 #include "idioms.h"
game/boss/x.cpp 0 #include <cmath>
game/boss/x.cpp 0 #include "tesra.h"
TABLE
[ "$fails" = 0 ] && echo "layers: the tree and $rows planted includes as expected"
exit "$fails"
