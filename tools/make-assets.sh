#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the program's pictures into src/assets/ with ImageMagick (apt-get install imagemagick).
# Our own artwork: run again after changing a drawing here, and commit the results.
set -eu
out="$(cd "$(dirname "$0")/../src/assets" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

svg() { # name, width, height, body
    printf '<svg xmlns="http://www.w3.org/2000/svg" width="%s" height="%s" viewBox="0 0 %s %s">%s</svg>\n' \
        "$2" "$3" "$2" "$3" "$4" > "$work/$1.svg"
}

# Background: a quiet light-grey gradient with a thin outline along the rounded edge, and a
# lighter band along the top.
convert -size 710x482 gradient:'#eef1f5'-'#cfd7e1' \
    -fill '#ffffff59' -draw 'roundrectangle 20,14 689,65 10,10' \
    -fill none -stroke '#8f9bab' -strokewidth 2 -draw 'roundrectangle 1.5,1.5 708.5,480.5 15,15' \
    -alpha off -colors 64 "$work/fond.gif"
# The light embossed title would melt into the band: behind it the band turns slate, fading
# out well before the buttons and the open label at both ends.
convert -size 710x482 xc:black -fill white -draw 'rectangle 262,0 487,481' -blur 0x28 \
    \( -size 710x482 xc:black -fill white -draw 'roundrectangle 20,14 689,65 10,10' \) \
    -compose Multiply -composite "$work/masque.png"
convert -size 710x482 xc:'#4f5d72' "$work/masque.png" -alpha off -compose CopyOpacity \
    -composite "$work/ardoise.png"
# Under 256 colours: kept exact, so the rest of the picture stays as it was.
convert "$work/fond.gif" "$work/ardoise.png" -compose Over -composite +dither -type Palette \
    "$out/background.gif"

# Program icon: a written page under a magnifying glass.
svg lexorquine 48 48 '
<rect x="7" y="3" width="28" height="38" rx="2" fill="#ffffff" stroke="#34495e" stroke-width="2"/>
<g stroke="#7f8c9d" stroke-width="2"><line x1="12" y1="11" x2="30" y2="11"/><line x1="12" y1="17" x2="30" y2="17"/>
<line x1="12" y1="23" x2="24" y2="23"/><line x1="12" y1="29" x2="22" y2="29"/></g>
<circle cx="31" cy="30" r="8" fill="#d6eaf8" fill-opacity="0.8" stroke="#1f618d" stroke-width="3"/>
<line x1="37" y1="36" x2="45" y2="44" stroke="#1f618d" stroke-width="5" stroke-linecap="round"/>'

# Help icon: a question mark on a blue disc.
svg aide 48 48 '
<circle cx="24" cy="24" r="21" fill="#2e86c1" stroke="#1b4f72" stroke-width="2"/>
<text x="24" y="34" font-family="DejaVu Sans" font-weight="bold" font-size="30" fill="#ffffff" text-anchor="middle">?</text>'

# Quit icon: a white cross on a red disc.
svg quitter 32 32 '
<circle cx="16" cy="16" r="14" fill="#c0392b" stroke="#7b241c" stroke-width="2"/>
<g stroke="#ffffff" stroke-width="4" stroke-linecap="round"><line x1="10" y1="10" x2="22" y2="22"/><line x1="22" y1="10" x2="10" y2="22"/></g>'

# Hand cursor: index finger pointing up, its tip at (12, 1).
svg main 32 32 '
<path d="M9.5,4 A2.5,2.5 0 0 1 14.5,4 L14.5,11 L16.5,10 L18.5,11 L20.5,11 L22.5,12 L24,13 L25.5,14.5 L25.5,22
L23.5,27 L23.5,30.5 L10.5,30.5 L10.5,27 L5.5,20 L4.5,17 L6,15.5 L9.5,18.5 Z"
 fill="#ffffff" stroke="#000000" stroke-width="1" stroke-linejoin="round"/>
<g stroke="#000000" stroke-width="1"><line x1="14.5" y1="11" x2="14.5" y2="16"/>
<line x1="18.5" y1="11" x2="18.5" y2="16"/><line x1="22.5" y1="12" x2="22.5" y2="16"/></g>'

png() { convert -background none "$work/$1.svg" -resize "$2x$2" "$work/$1-$2.png"; }
for size in 16 32 48; do png lexorquine $size; png aide $size; done
png quitter 32
png main 32

# Full-colour images with alpha: ImageMagick's 16-colour icons lose their transparency.
convert "$work/lexorquine-16.png" "$work/lexorquine-32.png" "$work/lexorquine-48.png" "$out/lexorquine.ico"
convert "$work/aide-16.png" "$work/aide-32.png" "$work/aide-48.png" "$out/aide.ico"
convert "$work/quitter-32.png" "$out/quitter.ico"
cp "$work/main-32.png" "$out/main.png"
# The same icon for the desktop's icon theme.
for size in 16 32 48; do cp "$work/lexorquine-$size.png" "$out/lexorquine-$size.png"; done
echo "assets written to $out"
