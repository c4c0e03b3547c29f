#!/usr/bin/env bash
# Runs the example script through the command line tool and shows its result.
set -euo pipefail
cd "$(dirname "$0")/.."
echo "== build/quillet /i examples/demo.zrt /o"
build/quillet /i examples/demo.zrt /o
echo "== examples/Result.zrt"
cat examples/Result.zrt
