#!/bin/sh
# Runs one Windows program under wine64 inside the Wine session that session.sh started
# (CMAKE_CROSSCOMPILING_EMULATOR of the x86_64 build).
session=${KELVORA_WINE_SESSION:?KELVORA_WINE_SESSION is not set: run the tests through ctest}
. "$session/env"
exec /usr/lib/wine/wine64 "$@"
