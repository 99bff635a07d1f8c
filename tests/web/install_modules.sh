#!/usr/bin/env bash
# Installs the modules that tests/web/package-lock.json pins into the folder given (once: a second
# run with the same lock does nothing). No browser is downloaded; the tests use Debian's Chromium.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
target=$1
mkdir -p "$target"
if ! cmp -s "$here/package-lock.json" "$target/package-lock.json" || [ ! -d "$target/node_modules" ]; then
  cp "$here/package.json" "$here/package-lock.json" "$target/"
  (cd "$target" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --silent)
fi
