#!/usr/bin/env bash
# Draws the wizard's pictures and the program icon with ImageMagick and writes
# them into app/win32/res. The results are committed, so building the program
# never needs this script; run it again only to change the artwork.
#
#   tools/pictures/make_pictures.sh [output-directory]
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
out="${1:-$here/../../app/win32/res}"
mkdir -p "$out"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

font="DejaVu-Sans-Bold"
plain="DejaVu-Sans"
quality=(-quality 88 -sampling-factor 2x2 -strip)

# The stylised "V": two slanted strokes meeting at a point, as a polygon
# centred on cx,cy with half width s.
vee() {
  local cx=$1 cy=$2 s=$3
  local t=$((s * 2 / 5))
  echo "polygon $((cx - s)),$((cy - s)) $((cx - s + t)),$((cy - s)) $cx,$((cy + s * 3 / 5)) \
$((cx + s - t)),$((cy - s)) $((cx + s)),$((cy - s)) $cx,$((cy + s))"
}

# A small network of nodes and links, the file-sharing motif.
network() {
  local -a nodes=("$@")
  local draw="" i j
  for ((i = 0; i < ${#nodes[@]}; i++)); do
    for ((j = i + 1; j < ${#nodes[@]}; j++)); do
      if (((i + j) % 3 != 0)); then draw+="line ${nodes[i]} ${nodes[j]} "; fi
    done
  done
  echo "$draw"
}

circles() {
  local r=$1
  shift
  local draw="" p x y
  for p in "$@"; do
    x=${p%,*}
    y=${p#*,}
    draw+="circle $x,$y $((x + r)),$y "
  done
  echo "$draw"
}

# --- welcome: 800x600, the big logo over a night-blue sky with a network ----------
nodes=(60,530 170,575 250,515 360,560 470,520 560,580 650,525 750,565)
convert -size 800x600 gradient:'#0a1a5c'-'#6fa8dc' \
  \( -size 800x600 radial-gradient:'#ffffff60'-'#ffffff00' \) -compose over -composite \
  -stroke '#c8dcff90' -strokewidth 2 -fill none -draw "$(network "${nodes[@]}")" \
  -stroke '#ffffff' -strokewidth 2 -fill '#ffd24a' -draw "$(circles 9 "${nodes[@]}")" \
  -stroke '#0a1a5c' -strokewidth 6 -fill '#ffd24a' -draw "$(vee 400 190 120)" \
  -stroke none -fill '#ffffff' -font "$font" -pointsize 84 -gravity north -annotate +0+330 'Vorpane' \
  -fill '#ffe89a' -font "$plain" -pointsize 40 -annotate +0+430 'version 3.31' \
  "${quality[@]}" "$out/welcome.jpg"

# --- disclaimer: 280x283, a signed sheet with the seal ------------------------------
convert -size 280x283 gradient:'#dfeaf8'-'#7fa7d6' \
  -fill '#00000030' -stroke none -draw "roundrectangle 52,24 232,266 8,8" \
  -fill '#fffdf4' -stroke '#4a5f80' -strokewidth 2 -draw "roundrectangle 44,16 224,258 8,8" \
  -stroke '#9fb0c8' -strokewidth 3 \
  -draw "line 64,48 204,48 line 64,68 196,68 line 64,88 204,88 line 64,108 180,108" \
  -draw "line 64,128 204,128 line 64,148 190,148 line 64,168 150,168" \
  -stroke '#1c3f94' -strokewidth 3 -fill none -draw "bezier 70,222 90,190 110,240 130,210 150,190 160,232 178,214" \
  -stroke '#8a1010' -strokewidth 2 -fill '#c62828' -draw "circle 196,214 196,242" \
  -stroke none -fill '#ffd24a' -draw "$(vee 196 212 14)" \
  "${quality[@]}" "$out/disclaimer.jpg"

# --- choose: 225x193, two roads: a new box or a refresh arrow -----------------------
convert -size 225x193 gradient:'#ffffff'-'#cfe0f5' \
  -fill '#1c3f94' -stroke none -draw "roundrectangle 18,40 102,124 10,10" \
  -fill '#ffffff' -draw "rectangle 54,56 66,108 rectangle 34,76 86,88" \
  -stroke '#1c3f94' -strokewidth 10 -fill none -draw "arc 128,44 204,120 200,500" \
  -stroke none -fill '#1c3f94' -draw "polygon 188,36 214,58 182,70" \
  -fill '#ffd24a' -stroke '#0a1a5c' -strokewidth 2 -draw "$(vee 166 82 16)" \
  -stroke none -fill '#0a1a5c' -font "$font" -pointsize 15 -gravity south \
  -annotate -52+36 'Install' -annotate +56+36 'Upgrade' \
  -fill '#4a5f80' -font "$plain" -pointsize 13 -annotate +0+10 'Vorpane 3.31' \
  "${quality[@]}" "$out/choose.jpg"

# --- directory: 198x161, an open folder with the logo on it -------------------------
convert -size 198x161 gradient:'#e8f1fc'-'#8fb4e0' \
  -fill '#b88a1e' -stroke '#6b4f0f' -strokewidth 2 \
  -draw "polygon 24,38 74,38 86,52 172,52 172,136 24,136" \
  -fill '#fff8e6' -stroke '#9fb0c8' -strokewidth 1 -draw "rectangle 38,46 160,120" \
  -fill '#f2c14e' -stroke '#6b4f0f' -strokewidth 2 -draw "polygon 16,72 150,72 182,72 168,140 30,140" \
  -fill '#1c3f94' -stroke '#ffffff' -strokewidth 2 -draw "$(vee 99 104 22)" \
  "${quality[@]}" "$out/directory.jpg"

# --- summary: 111x100, a ticked checklist -------------------------------------------
convert -size 111x100 gradient:'#ffffff'-'#a6caf0' \
  -fill '#fffdf4' -stroke '#4a5f80' -strokewidth 2 -draw "roundrectangle 18,8 92,92 6,6" \
  -stroke '#1f8a3a' -strokewidth 4 -fill none \
  -draw "polyline 28,28 34,34 44,20 polyline 28,50 34,56 44,42 polyline 28,72 34,78 44,64" \
  -stroke '#9fb0c8' -strokewidth 3 -draw "line 52,28 82,28 line 52,50 80,50 line 52,72 76,72" \
  "${quality[@]}" "$out/summary.jpg"

# --- ready: 383x302; the notice panel covers its upper part, so the lower band -------
# carries the network and the name
ready_nodes=(30,240 90,232 150,256 215,236 280,258 340,234 365,262)
convert -size 383x302 gradient:'#a6caf0'-'#1c3f94' \
  -fill '#ffffff40' -stroke none -draw "circle 300,90 300,10" \
  -fill '#ffd24a' -stroke '#0a1a5c' -strokewidth 4 -draw "$(vee 300 92 60)" \
  -stroke '#ffffffa0' -strokewidth 2 -fill none -draw "$(network "${ready_nodes[@]}")" \
  -stroke '#0a1a5c' -strokewidth 2 -fill '#ffd24a' -draw "$(circles 7 "${ready_nodes[@]}")" \
  -stroke none -fill '#ffffff' -font "$font" -pointsize 22 -gravity southwest -annotate +12+8 'Vorpane 3.31' \
  "${quality[@]}" "$out/ready.jpg"

# --- search: 160x202, a magnifier over drives ---------------------------------------
convert -size 160x202 gradient:'#d7e6f7'-'#6f98cf' \
  -fill '#c9ced6' -stroke '#505a66' -strokewidth 2 \
  -draw "roundrectangle 16,128 144,156 4,4 roundrectangle 16,162 144,190 4,4" \
  -fill '#3cd070' -stroke none -draw "circle 130,142 130,146 circle 130,176 130,180" \
  -stroke '#2b2f36' -strokewidth 12 -draw "line 104,100 140,136" \
  -stroke '#1c3f94' -strokewidth 8 -fill '#ffffff90' -draw "circle 72,64 72,20" \
  -stroke none -fill '#1c3f94' -draw "$(vee 72 62 18)" \
  "${quality[@]}" "$out/search.jpg"

# --- icon: 32x32, the 16 standard colours, 4 bits per pixel -------------------------
convert -size 32x32 xc:none \
  -fill '#000080' -stroke '#00ffff' -strokewidth 1 -draw "roundrectangle 1,1 30,30 5,5" \
  -fill '#ffff00' -stroke '#000000' -strokewidth 1 -draw "$(vee 16 15 11)" \
  -fill '#00ffff' -stroke none -draw "circle 6,26 6,28 circle 25,26 25,28" \
  +antialias -depth 8 rgba:"$work/icon.rgba"
python3 "$here/ico4.py" "$work/icon.rgba" "$out/icon.ico"

echo "pictures written to $out"
