#!/usr/bin/env bash
# Shows what Quillet does: until the batch driver lands, the command line tool
# only prints its usage and version.
set -euo pipefail
cd "$(dirname "$0")/.."
build/quillet --version
build/quillet --help
