#!/usr/bin/env bash
# Installs tests/web/package.json's modules into the folder given (once: a second run with the
# same package.json does nothing). No browser is downloaded; the tests use Debian's Chromium.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
target=$1
mkdir -p "$target"
if ! cmp -s "$here/package.json" "$target/package.json" || [ ! -d "$target/node_modules" ]; then
  cp "$here/package.json" "$target/package.json"
  (cd "$target" && PUPPETEER_SKIP_DOWNLOAD=1 npm install --no-audit --no-fund --silent)
fi
