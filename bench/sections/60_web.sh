#!/usr/bin/env bash
# The browser build (make web, in build/web): what a visitor downloads, raw and gzipped, and in
# headless Chromium (bench/web_bench.js) the time to the first frame over five page loads, and over
# a minute of play the period of presented frames, the game's frames per second and the page's
# busy time. puppeteer-core comes from npm into build/web-test, as for the browser test.
source "$(dirname "$0")/../bench_lib.sh"

site=${ZELU_BENCH_WEB:-$root/build/web}
modules=$root/build/web-test
# The game: the page, its icon, the script and the WebAssembly (which holds Data/).
game_files=(index.html icon.png zelu-line.js zelu-line.wasm)
# What the page itself fetches on a first visit in Chromium: the game, its stylesheet and scripts,
# the manifest and the manifest's icon, and the service worker. The worker then asks for every
# file it keeps (sw.js lists them) again; the server answers "not modified" for those the page
# has, except index.html, which the page fetched by its folder's address.
page_files=("${game_files[@]}" touch.css touch.js pad_overlay.js offline.js manifest.webmanifest
  icon-192.png sw.js)

# The files that the service worker of the site keeps, one a line.
worker_files() {
  sed -n "s/^  '\([^']*\)': '[0-9a-f]*',$/\1/p" "$site/sw.js"
}

# A row per file (bytes raw, gzip -6, gzip -9), the game's first.
file_rows() {
  local file
  for file in "${game_files[@]}" $( (printf '%s\n' "${page_files[@]}"; worker_files) | sort -u |
    grep -vxF -f <(printf '%s\n' "${game_files[@]}")); do
    printf '%s\t%d\t%d\t%d\n' "$file" "$(wc -c <"$site/$file")" \
      "$(gzip -6 -c "$site/$file" | wc -c)" "$(gzip -9 -c "$site/$file" | wc -c)"
  done
}

# size_rows: one row per file (bytes raw, gzip -6, gzip -9, and -9's share of raw), and the
# totals: the game, a first visit with each file once, and a first visit as it is fetched.
size_rows() {
  local file rows
  for file in "${page_files[@]}"; do
    if [ ! -f "$site/$file" ]; then
      printf '%s\tfailed: missing from %s (make web)\n' "$file" "$site"
      return
    fi
  done
  rows=$(file_rows)
  awk -F'\t' -v game="${game_files[*]}" -v page="${page_files[*]}" \
    -v worker="$(worker_files | tr '\n' ' ')" '
    function share(raw, nine) { return sprintf("%.0f%%", 100 * nine / raw) }
    function total(label, names,   n, list, i, raw, six, nine) {
      n = split(names, list, " ")
      for (i = 1; i <= n; i++) { raw += bytes[list[i]]; six += g6[list[i]]; nine += g9[list[i]] }
      printf "%s\t%d\t%d\t%d\t%s\n", label, raw, six, nine, share(raw, nine)
    }
    { print $0 "\t" share($2, $4); bytes[$1] = $2; g6[$1] = $3; g9[$1] = $4; all = all " " $1 }
    END {
      total("total: the game", game)
      total("total: first visit, each file once", all)
      n = split(page, listed, " ")
      for (i = 1; i <= n; i++) fetched[listed[i]] = 1
      n = split(worker, listed, " ")
      for (i = 1; i <= n; i++) if (!(listed[i] in fetched) || listed[i] == "index.html") more = more " " listed[i]
      total("total: first visit as fetched", page more)
    }' <<<"$rows"
}

section "Browser build: download size"
{
  printf 'file\tbytes\tgzip -6\tgzip -9\tgzip -9 of raw\n'
  size_rows
} | print_table
section_end "gzip -6 is zlib's default level, which servers that compress on the fly commonly use; \
gzip -9 is a file compressed ahead of time. zelu-line.wasm holds the game's Data/. The game: \
${game_files[*]}. A first visit (Chromium) also fetches the page's stylesheet and scripts, the \
manifest and its 192-pixel icon, and the service worker, which keeps every file of the site for \
offline play: each file once is what the site holds; as fetched, the worker's own requests for \
what the page has loaded are answered \"not modified\" (cache: 'no-cache'), but for index.html, \
which the page fetched by its folder's address."

# Runs the browser benchmark once (hang guards of five minutes); its lines are in $web_lines.
web_lines=
run_web_bench() {
  local reason
  if [ ! -f "$site/index.html" ] || [ ! -f "$site/zelu-line.wasm" ]; then
    web_lines="failed: $site holds no build (make web)"
    return
  fi
  if ! reason=$(timeout 300 "$root/tests/web/install_modules.sh" "$modules" 2>&1); then
    web_lines="failed: puppeteer-core not installed: $(tail -1 <<<"$reason")"
    return
  fi
  web_lines=$(NODE_PATH=$modules/node_modules timeout 300 node "$root/bench/web_bench.js" \
    "$site" 5 2>"$bench_work/web.log")
  case $? in
  0) ;;
  124) web_lines+=$'\n'"failed: no result in 300 s" ;;
  *) grep -q '^failed: ' <<<"$web_lines" ||
    web_lines+=$'\n'"failed: $(tail -1 "$bench_work/web.log")" ;;
  esac
}

# A row of the median, least and most of field $2 over the lines that begin with $3 (load lines
# unless given).
first_frame_row() {
  local values
  values=$(grep "^${3:-load} " <<<"$web_lines" | while read -r line; do field "$2" "$line"; done)
  [ -n "$values" ] || return 0
  sort -n <<<"$values" | awk -v label="$1" '
    { v[NR] = $1 }
    END { printf "%s\t%d\t%.1f\t%.1f\t%.1f\n", label, NR, v[int((NR + 1) / 2)], v[1], v[NR] }'
}

section "Browser build in headless Chromium: time to the first frame, and a minute of play"
run_web_bench
{
  printf 'from - to\tloads\tmedian ms\tleast ms\tmost ms\n'
  first_frame_row "navigation - question on screen" question_ms
  first_frame_row "answer - first frame" answer_to_frame_ms
  first_frame_row "navigation - first frame" first_frame_ms
  first_frame_row "answer after 2 s - first frame" answer_to_frame_ms read
  first_frame_row "browser open: navigation - question on screen" question_ms open
  first_frame_row "browser open: answer - first frame" answer_to_frame_ms open
  first_frame_row "browser open: navigation - first frame" first_frame_ms open
  grep '^failed: ' <<<"$web_lines" | sed 's/^/web\t/'
} | print_table
echo
{
  printf 'presented frames\tperiods\tmedian ms\tp99 ms\tmax ms\tpage busy s per s\tof it script'
  printf '\tgame frames\tgame frames per s\n'
  line=$(grep '^pace ' <<<"$web_lines")
  if [ -n "$line" ]; then
    printf 'web\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$(field periods "$line")" \
      "$(field median_ms "$line")" "$(field p99_ms "$line")" "$(field max_ms "$line")" \
      "$(field busy_s_per_s "$line")" "$(field script_s_per_s "$line")" \
      "$(field game_frames "$line")" "$(field game_fps "$line")"
  else
    printf 'web\tfailed: %s\n' "$(grep '^failed: ' <<<"$web_lines" | sed 's/^failed: //;q')"
  fi
} | print_table
section_end "Each load is a fresh Chromium with an empty cache (--use-angle=swiftshader: software \
WebGL) and a local server. The page answers the fullscreen question with Enter the moment its \
overlay is on the screen (the display frame after it opens); three more loads answer it after 2 s, \
as a player who reads it. A fresh Chromium starts its GPU side only when its first page needs it, \
and that page's first WebGL context waits for it: the 'browser open' loads first show another \
page, as a player's browser does. A frame is presented when the game yields to the browser after \
drawing. Times are the page's performance.now(), from the navigation's start, coarsened by the \
browser to 0.1 ms. The last load then plays for a minute (ZELU_BENCH_WEB_SECONDS), from a second \
after its first frame: the gaps between the frames presented (the display's, about 16.7 ms at 60 \
Hz), and the game's own frames (one glClear each) per second of real time, which the game aims at \
100. Page busy: the time the page's main thread worked (Chromium's TaskDuration; of it, running \
script) per second of that minute; the drawing in the GPU process is not in it."
