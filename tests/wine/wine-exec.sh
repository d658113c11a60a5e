#!/bin/sh
# Runs one Windows program inside the Wine session that session.sh started, with the loader of
# the build's architecture (CMAKE_CROSSCOMPILING_EMULATOR of both builds).
session=${KELVORA_WINE_SESSION:?KELVORA_WINE_SESSION is not set: run the tests through ctest}
. "$session/env"
exec "$KELVORA_WINE" "$@"
