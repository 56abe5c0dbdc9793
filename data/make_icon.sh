#!/bin/sh
# Regenerates icon.pam, the window icon (32x32 RGBA): a white glider on a blue tile;
# varnix.png, the same at 128x128 for the desktop entry; varnix.ico for the Windows programs.
# Needs ImageMagick. The build embeds icon.pam into the toolkit and varnix.ico into the .exe files;
# varnix.png is installed.
set -e
cd "$(dirname "$0")"
convert -size 256x256 xc:none -fill '#1f6fc5' -draw 'roundrectangle 8,8 247,247 48,48' \
    -fill white -stroke none \
    -draw 'polygon 16,116 240,116 240,128 140,136 116,136 16,128' \
    -draw 'ellipse 128,136 13,70 0,360' \
    -draw 'polygon 92,192 164,192 164,204 92,204' \
    -fill '#ffd23f' -draw 'ellipse 128,100 7,15 0,360' \
    MIFF:tile.miff.tmp
convert tile.miff.tmp -resize 32x32 -depth 8 PAM:icon.pam.tmp
convert tile.miff.tmp -resize 128x128 -depth 8 -strip PNG32:varnix.png.tmp
# varnix.ico, the Windows programs' icon (a resource of each, and the installer's): the sizes
# Explorer, the taskbar and the Start menu ask for, up to 256 for large icons.
convert tile.miff.tmp -compress zip -define icon:auto-resize=256,48,32,24,16 ICO:varnix.ico.tmp
rm tile.miff.tmp
mv icon.pam.tmp icon.pam
mv varnix.png.tmp varnix.png
mv varnix.ico.tmp varnix.ico
