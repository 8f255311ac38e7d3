#!/usr/bin/env bash
# Generates the artwork of Lapstone Configuration: window and dialog icons,
# the category button glyphs, the device icons, the header banner and the
# preview pictures shown in the main window.
#
# Needs ImageMagick 6 (convert) and the DejaVu fonts.  Run from anywhere:
#     resources/artwork/make-artwork.sh
# Outputs go to resources/artwork/ and resources/images/.
#
# Every subject is drawn in a 128 x 128 design space by an "art_*" function
# that prints ImageMagick draw commands (MVG).  Small icons render that at
# four times their size and box-filter it down; previews render it large.
#
# Everything is drawn twice: at its designed size and, as NAME@2x, at twice
# that size for screens with a device pixel ratio of 2 (Qt picks those).
set -euo pipefail

HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
ART=$HERE
IMG=$(cd "$HERE/.." && pwd)/images
mkdir -p "$ART" "$IMG"
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

FONT=DejaVu-Sans
FONTB=DejaVu-Sans-Bold
BG='#d4d0c8'          # button face behind the device icons
INK='#1c2430'         # outline colour

# PNG options: no time stamps, so re-running gives identical files.
PNGOPT=(-define png:exclude-chunks=date,time,tIME -strip)

# ---------------------------------------------------------------- helpers

# gear CX CY R_OUT R_IN TEETH -> polygon point list
gear() {
    awk -v cx="$1" -v cy="$2" -v ro="$3" -v ri="$4" -v n="$5" 'BEGIN {
        pi = atan2(0, -1); step = 2 * pi / n; s = ""
        split("-0.30 -0.17 0.17 0.30", f, " ")
        split("0 1 1 0", o, " ")
        for (i = 0; i < n; i++)
            for (k = 1; k <= 4; k++) {
                a = i * step + f[k] * step - pi / 2
                r = o[k] ? ro : ri
                s = s sprintf(" %.2f,%.2f", cx + r * cos(a), cy + r * sin(a))
            }
        print s
    }'
}

# ------------------------------------------------------------- subjects
# Each takes: $1 = stroke width in design units, $2 = 1 for extra detail
# (previews) or 0 (small icons).

art_notebook_small() {   # notebook outline used inside other subjects
    local sw=$1
    cat <<EOF
stroke '$INK' stroke-width $sw stroke-linejoin round
fill '#3a4350' roundrectangle 18,10 106,70 6,6
fill '#3f86d6' stroke-width $(( sw / 2 > 0 ? sw / 2 : 1 )) rectangle 26,18 98,62
stroke-width $sw
fill '#c3c8d0' polygon 14,72 110,72 124,92 0,92
EOF
}

art_sysinfo() {
    local sw=$1 det=$2
    art_notebook_small "$sw"
    if [ "$det" = 1 ]; then
        cat <<EOF
stroke none fill '#ffffff'
rectangle 32,24 70,27
rectangle 32,32 62,34 rectangle 32,38 58,40 rectangle 32,44 64,46
fill '#8fd16b' rectangle 32,52 52,56
fill '#9aa1ab' polygon 24,76 100,76 104,82 20,82
EOF
    fi
    cat <<EOF
stroke '$INK' stroke-width $sw
fill '#1f63c6' circle 92,94 92,62
stroke none fill '#ffffff'
circle 92,79 92,72.5
roundrectangle 86,87 98,112 2,2
roundrectangle 82,87 98,92 1,1
roundrectangle 82,107 102,112 1,1
EOF
}

art_nubstick() {
    local sw=$1 det=$2
    cat <<EOF
stroke '$INK' stroke-width $sw stroke-linejoin round
fill '#23262b' roundrectangle 4,4 124,124 10,10
stroke '#5d636d' stroke-width $(( sw / 2 > 0 ? sw / 2 : 1 ))
fill '#40454e'
roundrectangle 12,12 58,58 6,6
roundrectangle 70,12 116,58 6,6
roundrectangle 12,70 58,116 6,6
roundrectangle 70,70 116,116 6,6
stroke none fill '#23262b' circle 64,64 64,36
EOF
    if [ "$det" = 1 ]; then
        cat <<EOF
fill '#c9ced6' font '$FONTB' font-size 14
text 17,29 'G' text 101,29 'H' text 17,112 'B' text 101,112 'N'
EOF
    fi
    cat <<EOF
stroke '#6e0c12' stroke-width $sw fill '#d8202b' circle 64,64 64,44
stroke none fill '#b3141e' circle 64,64 64,52
fill '#f06a70' circle 58,58 58,54
EOF
}

art_audio() {
    local sw=$1 det=$2 w
    w=$(( sw * 3 / 2 ))
    cat <<EOF
stroke '$INK' stroke-width $sw stroke-linejoin round
fill '#5a6270' roundrectangle 10,44 38,84 3,3
fill '#8c96a6' polygon 38,44 68,18 68,110 38,84
fill none stroke '#1f63c6' stroke-width $w stroke-linecap round
path 'M 80,50 A 20,20 0 0 1 80,78'
path 'M 92,38 A 36,36 0 0 1 92,90'
path 'M 104,26 A 52,52 0 0 1 104,102'
EOF
    if [ "$det" = 1 ]; then
        cat <<EOF
stroke none fill '#b8c0cc' polygon 42,50 64,30 64,38 42,56
EOF
    fi
}

art_display() {
    local sw=$1 det=$2
    cat <<EOF
stroke '$INK' stroke-width $sw stroke-linejoin round
fill '#6b7380' rectangle 56,88 72,106
fill '#8c94a0' roundrectangle 32,102 96,116 4,4
fill '#3a4350' roundrectangle 6,10 122,92 6,6
fill '#3f8fe0' stroke-width $(( sw / 2 > 0 ? sw / 2 : 1 )) rectangle 14,18 114,82
stroke none fill '#ffd83a' circle 92,36 92,28
fill '#3daa4d' polygon 15,82 15,64 42,48 66,66 86,54 113,70 113,82
fill '#2c8a3b' polygon 56,82 86,54 113,70 113,82
EOF
    if [ "$det" = 1 ]; then
        cat <<EOF
fill '#ffffff' fill-opacity 0.85 roundrectangle 22,24 54,40 2,2
fill '#1f63c6' fill-opacity 1 rectangle 22,24 54,28
EOF
    fi
}

art_modem() {
    local sw=$1 det=$2 h
    h=$(( sw / 2 > 0 ? sw / 2 : 1 ))
    cat <<EOF
stroke '$INK' stroke-width $sw stroke-linejoin round
fill '#3f8fe0' circle 80,46 80,6
stroke none fill '#4cb35a'
polygon 62,20 78,14 86,24 76,36 80,50 68,56 60,40
polygon 96,40 112,34 116,52 104,70 94,58
fill none stroke '#e8f2ff' stroke-width $h
ellipse 80,46 16,40 0,360
line 40,46 120,46
path 'M 46,26 Q 80,34 114,26'
path 'M 46,66 Q 80,58 114,66'
stroke '$INK' stroke-width $sw fill none circle 80,46 80,6
stroke '$INK' stroke-width $sw fill '#2f343c' roundrectangle 4,70 96,112 7,7
stroke none fill '#59606b' rectangle 10,76 90,82
fill '#5ee05a' rectangle 16,92 23,99 rectangle 32,92 39,99 rectangle 64,92 71,99
fill '#ffb020' rectangle 48,92 55,99
EOF
    if [ "$det" = 1 ]; then
        cat <<EOF
fill none stroke '#2f343c' stroke-width 3 stroke-linecap round
path 'M 96,100 C 108,100 104,114 116,112 C 124,110 122,120 126,122'
EOF
    fi
}

art_touchpad() {
    local sw=$1 det=$2
    cat <<EOF
stroke '$INK' stroke-width $sw stroke-linejoin round
fill '#2b2f36' roundrectangle 6,4 122,124 10,10
fill '#a3acb9' roundrectangle 16,12 112,84 8,8
fill '#6f7886' roundrectangle 16,92 62,116 5,5 roundrectangle 66,92 112,116 5,5
fill '#ffffff' polygon 46,24 46,66 56,57 64,74 72,70 64,53 78,53
EOF
    if [ "$det" = 1 ]; then
        cat <<EOF
stroke '#8a93a0' stroke-width 2 stroke-dasharray 4,4 fill none line 102,20 102,76
EOF
    fi
}

art_network() {
    local sw=$1 det=$2
    cat <<EOF
stroke '#e0a020' stroke-width $(( sw * 3 / 2 )) fill none stroke-linejoin round
polyline 30,58 30,92 46,92
polyline 98,58 98,92 82,92
stroke '$INK' stroke-width $sw
fill '#3a4350' roundrectangle 4,12 56,52 4,4 roundrectangle 72,12 124,52 4,4
fill '#2fb3a6' stroke-width $(( sw / 2 > 0 ? sw / 2 : 1 ))
rectangle 10,18 50,46 rectangle 78,18 118,46
stroke-width $sw fill '#8c94a0' rectangle 22,52 38,60 rectangle 90,52 106,60
fill '#2f343c' roundrectangle 38,82 90,114 5,5
stroke none fill '#5ee05a' rectangle 48,96 55,103 rectangle 60,96 67,103
fill '#ffb020' rectangle 72,96 79,103
EOF
    if [ "$det" = 1 ]; then
        cat <<EOF
fill '#d8fff8' rectangle 14,22 36,24 rectangle 14,28 30,30 rectangle 82,22 104,24 rectangle 82,28 98,30
EOF
    fi
}

art_power() {
    local sw=$1 det=$2
    cat <<EOF
stroke '$INK' stroke-width $sw stroke-linejoin round
fill '#f4f4f4' roundrectangle 6,34 108,96 8,8
fill '#3a4350' roundrectangle 108,50 122,80 3,3
stroke none fill '#3aa648' roundrectangle 14,42 76,88 3,3
stroke '$INK' stroke-width $sw fill '#ffd21f'
polygon 72,14 40,70 62,70 50,118 94,56 70,56 88,14
EOF
    if [ "$det" = 1 ]; then
        cat <<EOF
stroke none fill '#8fdb98' rectangle 14,42 76,50
EOF
    fi
}

art_infrared() {
    local sw=$1 det=$2
    cat <<EOF
stroke none fill '#f5a3a3' polygon 56,64 124,22 124,106
stroke '#c8141e' stroke-width $(( sw * 3 / 2 )) stroke-linecap round fill none
line 62,56 116,26 line 64,64 122,64 line 62,72 116,102
stroke '$INK' stroke-width $sw stroke-linejoin round
fill '#5a6270' roundrectangle 4,24 44,104 6,6
fill '#4a0a10' roundrectangle 30,40 58,88 8,8
stroke none fill '#b3303a' roundrectangle 36,46 44,70 3,3
EOF
    if [ "$det" = 1 ]; then
        cat <<EOF
fill '#3a4048' roundrectangle 10,32 24,40 2,2 roundrectangle 10,88 24,96 2,2
EOF
    fi
}

art_security() {
    local sw=$1 det=$2
    cat <<EOF
stroke '$INK' stroke-width $sw stroke-linejoin round
fill '#2a6bc4' path 'M 64,4 L 116,20 L 116,58 C 116,92 94,112 64,124 C 34,112 12,92 12,58 L 12,20 Z'
stroke none fill '#4f8ee0' path 'M 64,12 L 64,114 C 40,104 20,88 20,58 L 20,26 Z'
fill none stroke '$INK' stroke-width $(( sw * 3 )) stroke-linecap butt
path 'M 48,66 L 48,50 A 16,16 0 0 1 80,50 L 80,66'
stroke '#d5d9e0' stroke-width $(( sw * 3 / 2 ))
path 'M 48,66 L 48,50 A 16,16 0 0 1 80,50 L 80,66'
stroke '$INK' stroke-width $sw fill '#f2c230' roundrectangle 36,62 92,104 6,6
stroke none fill '$INK' circle 64,76 64,70 polygon 60,78 68,78 70,96 58,96
EOF
    if [ "$det" = 1 ]; then
        cat <<EOF
fill '#fbe38a' rectangle 40,66 88,70
EOF
    fi
}

art_window_icon() {
    local sw=$1
    cat <<EOF
stroke '$INK' stroke-width $sw stroke-linejoin round
fill '#3a4350' roundrectangle 16,16 100,72 6,6
fill '#7cc0ff' stroke-width $(( sw / 2 )) rectangle 24,24 92,64
stroke none fill '#3f86d6' polygon 24,64 24,50 50,38 72,52 92,44 92,64
stroke '$INK' stroke-width $sw
fill '#d7dbe2' polygon 12,74 104,74 118,92 -2,92
stroke '$INK' stroke-width $sw fill '#f29a1f'
polygon $(gear 92 92 34 25 8)
fill '#1d3f73' circle 92,92 92,81
EOF
}

art_dialog_icon() {
    local sw=$1
    cat <<EOF
stroke '$INK' stroke-width $sw stroke-linejoin round
fill '#f4f6f9' rectangle 8,14 108,96
fill '#2a6bc4' rectangle 8,14 108,32
stroke none fill '#ffffff' rectangle 90,20 100,26
fill '#9aa3b0' rectangle 18,44 72,50 rectangle 18,58 62,64 rectangle 18,72 68,78
stroke '$INK' stroke-width $sw fill '#f29a1f'
polygon $(gear 94 94 30 22 8)
fill '#1d3f73' circle 94,94 94,84
EOF
}

art_nubstick_device() {
    local sw=$1
    cat <<EOF
stroke '$INK' stroke-width $sw stroke-linejoin round
fill '#23262b' roundrectangle 4,4 124,124 10,10
stroke '#5d636d' stroke-width $(( sw / 2 )) fill '#40454e'
roundrectangle 12,10 48,44 5,5 roundrectangle 80,10 116,44 5,5
roundrectangle 28,56 44,82 4,4 roundrectangle 84,56 100,82 4,4
stroke none fill '#23262b' circle 64,46 64,20
stroke '#6e0c12' stroke-width $sw fill '#d8202b' circle 64,46 64,24
stroke none fill '#f06a70' circle 57,39 57,34
stroke '$INK' stroke-width $(( sw / 2 ))
fill '#8c94a0' roundrectangle 12,92 60,118 4,4 roundrectangle 68,92 116,118 4,4
stroke none fill '#d8202b' rectangle 12,92 60,95 rectangle 68,92 116,95
EOF
}

art_touchpad_device() {
    local sw=$1
    cat <<EOF
stroke '$INK' stroke-width $sw stroke-linejoin round
fill '#2b2f36' roundrectangle 4,4 124,124 10,10
fill '#a3acb9' roundrectangle 12,12 116,84 8,8
fill '#6f7886' roundrectangle 12,92 62,116 5,5 roundrectangle 66,92 116,116 5,5
stroke '#ffffff' stroke-width $(( sw / 2 )) fill none
circle 56,44 56,24 circle 56,44 56,14
stroke '$INK' stroke-width $(( 28 + 2 * sw )) stroke-linecap round
line 58,46 104,110
stroke '#f2c9a4' stroke-width 28 line 58,46 104,110
stroke none fill '#fbe6d4' ellipse 60,46 8,10 -35,215
EOF
}

# ------------------------------------------------------------- renderers

# render SUBJECT_FN SIZE OUT MODE [SW]: small icon on the button face;
# MODE is "16" (indexed, at most 16 colours) or "24" (8-bit RGB), or "32":
# 8-bit RGB with alpha on a transparent ground, so that whatever face the
# colour scheme gives the button shows around the drawing.
render_icon() {
    local fn=$1 size=$(( $2 * K )) out=$3 mode=$4 sw=${5:-6}
    local big=$(( size * 4 ))
    local s
    s=$(awk -v b="$big" 'BEGIN { printf "%.5f", b / 128 }')
    if [ "$mode" = 32 ]; then
        convert -size "${big}x${big}" xc:none \
            -draw "push graphic-context scale $s,$s $($fn "$sw" 0) pop graphic-context" \
            -filter Box -resize "${size}x${size}!" -depth 8 "${PNGOPT[@]}" \
            -define png:color-type=6 -define png:bit-depth=8 "PNG32:$out"
        return
    fi
    convert -size "${big}x${big}" xc:"$BG" \
        -draw "push graphic-context scale $s,$s $($fn "$sw" 0) pop graphic-context" \
        -filter Box -resize "${size}x${size}!" "$TMP/icon.png"
    if [ "$mode" = 16 ]; then
        # The palette: the drawing's own flat colours first (so that small
        # details such as lamps keep their colour), the remaining entries
        # for the blended edges of the reduced icon.
        convert -size "${big}x${big}" xc:"$BG" +antialias \
            -draw "push graphic-context scale $s,$s $($fn "$sw" 0) pop graphic-context" \
            -alpha off -unique-colors "$TMP/flat.png"
        local n
        n=$(identify -format %w "$TMP/flat.png")
        if [ "$n" -ge 15 ]; then
            convert "$TMP/flat.png" +dither -colors 16 "$TMP/palette.png"
        else
            convert "$TMP/icon.png" -alpha off +dither -colors $(( 16 - n )) \
                -unique-colors "$TMP/edges.png"
            convert "$TMP/flat.png" "$TMP/edges.png" +append "$TMP/palette.png"
        fi
        convert "$TMP/icon.png" -alpha off +dither -remap "$TMP/palette.png" \
            "${PNGOPT[@]}" -define png:bit-depth=4 "PNG8:$out"
    else
        convert "$TMP/icon.png" -alpha off -depth 8 "${PNGOPT[@]}" \
            -define png:color-type=2 -define png:bit-depth=8 "PNG24:$out"
    fi
}

# render_tile SUBJECT_FN OUT TOP BOTTOM: 32 x 32 window icon on a square
# gradient tile (opaque, so it sits well in any title bar).
render_tile() {
    local fn=$1 out=$2 top=$3 bottom=$4
    convert -size 128x128 gradient:"$top-$bottom" \
        -fill none -stroke "$INK" -strokewidth 6 -draw "rectangle 3,3 124,124" \
        -draw "$($fn 6)" \
        -filter Box -resize $(( 32 * K ))x$(( 32 * K ))! -alpha off -depth 8 "${PNGOPT[@]}" \
        -define png:color-type=2 -define png:bit-depth=8 "PNG24:$out"
}

# preview NAME SUBJECT_FN ACCENT TITLE LINE [SUBTITLE]: 508 x 470 JPEG.
# With SUBTITLE, it goes in bold under the title and LINE below it.
preview() {
    local name=$1 fn=$2 accent=$3 title=$4 line=$5 sub=${6:-}
    local S SZ=$(( 290 * K )) dy=0
    S=$(awk -v k="$K" 'BEGIN { printf "%.1f", 2.1 * k }')
    [ -n "$sub" ] && dy=28
    # the subject, with a soft drop shadow
    convert -size "${SZ}x${SZ}" xc:none \
        -draw "push graphic-context translate $(( 10 * K )),$(( 10 * K )) scale $S,$S $($fn 3 1) pop graphic-context" \
        \( +clone -background '#1c2a40' -shadow 35x$(( 6 * K ))+$(( 5 * K ))+$(( 7 * K )) \) +swap \
        -background none -layers merge +repage "$TMP/subject.png"
    convert -size $(( 508 * K ))x$(( 470 * K )) gradient:'#f5f8fc-#c9d6e7' \
        \( -size $(( 440 * K ))x$(( 300 * K )) radial-gradient:'#ffffffd0-#ffffff00' \) \
        -geometry +$(( 34 * K ))+$(( (140 + dy) * K )) -composite \
        -fill "$accent" -draw "rectangle 0,0 $(( 508 * K - 1 )),$(( 6 * K - 1 ))" \
        -font "$FONTB" -pointsize $(( 27 * K )) -fill '#1d2f4a' -gravity north \
        -annotate +0+$(( 26 * K )) "$title" \
        ${sub:+-pointsize $(( 19 * K )) -fill '#2c4a75' -annotate +0+$(( 62 * K )) "$sub"} \
        -font "$FONT" -pointsize $(( 15 * K )) -fill '#3d5270' -annotate +0+$(( (68 + dy) * K )) "$line" \
        -fill "$accent" -draw "rectangle $(( 214 * K )),$(( (98 + dy) * K )) $(( 295 * K - 1 )),$(( (101 + dy) * K - 1 ))" \
        -gravity northwest "$TMP/subject.png" -geometry +$(( 109 * K ))+$(( (126 + dy) * K )) -composite \
        -fill '#9fb0c6' -draw "push graphic-context scale $K,$K line 20,444 488,444 pop graphic-context" \
        -font "$FONT" -pointsize $(( 11 * K )) -fill '#6b7f99' -gravity southwest \
        -annotate +$(( 20 * K ))+$(( 8 * K )) "Lapstone Configuration" \
        -gravity southeast -annotate +$(( 20 * K ))+$(( 8 * K )) "Zentil Linux" \
        -alpha off -sampling-factor 4:2:0 -strip -quality 85 "JPEG:$IMG/$name$AT.jpg"
}

art_origin() {
    local sw=$1
    cat <<EOF
stroke '$INK' stroke-width $sw stroke-linejoin round
fill '#3a4350' roundrectangle 14,6 114,76 5,5
fill '#2a64b8' stroke-width 1 rectangle 21,13 107,70
stroke none fill '#3f86d6' polygon 21,70 21,52 48,40 76,56 107,42 107,70
fill '#ffffff' font '$FONTB' font-size 9 text 34,34 'Lapstone'
fill '#d6e6ff' font '$FONT' font-size 5 text 34,42 'Zentil Linux'
fill '#f29a1f' polygon $(gear 96 24 6 4.4 8)
fill '#2a64b8' circle 96,24 96,22
stroke '$INK' stroke-width $sw
fill '#c3c8d0' polygon 12,78 116,78 128,100 0,100
stroke none fill '#9aa1ab' polygon 20,82 108,82 113,92 15,92
fill '#b3b8c0' roundrectangle 50,94 78,98 1,1
fill '#d8202b' circle 64,87 64,85.6
EOF
}

# K is the scale of one pass, AT the suffix of its file names.
for K in 1 2; do
    AT=''
    [ "$K" = 1 ] || AT="@${K}x"

    # ----------------------------------------------------------------- icons

    render_tile art_window_icon "$ART/window-icon$AT.png" '#5d9de6' '#1d4f94'
    render_tile art_dialog_icon "$ART/dialog-icon$AT.png" '#8fc9ee' '#2f7bb8'

    render_icon art_sysinfo   32 "$ART/glyph-sysinfo$AT.png"   32
    render_icon art_nubstick  32 "$ART/glyph-nubstick$AT.png"  32
    render_icon art_audio     32 "$ART/glyph-audio$AT.png"     32
    render_icon art_display   32 "$ART/glyph-display$AT.png"   32
    render_icon art_modem     32 "$ART/glyph-modem$AT.png"     32
    render_icon art_touchpad  32 "$ART/glyph-touchpad$AT.png"  32
    render_icon art_network   28 "$ART/glyph-network$AT.png"   32
    render_icon art_power     28 "$ART/glyph-power$AT.png"     32
    render_icon art_infrared  32 "$ART/glyph-infrared$AT.png"  32
    render_icon art_security  32 "$ART/glyph-security$AT.png"  32

    render_icon art_nubstick_device 28 "$ART/nubstick-device$AT.png" 24
    render_icon art_touchpad_device 28 "$ART/touchpad-device$AT.png" 24

    # ---------------------------------------------------------------- banner

    convert -size $(( 39 * K ))x$(( 521 * K )) gradient:'#16335e-#3d86c9' -rotate -90 \
        -draw "push graphic-context scale $K,$K
            fill '#ffffff12'
            circle 470,20 470,-30 circle 430,50 430,20 circle 505,0 505,-12
            fill '#9cc8f080' rectangle 0,37 520,38
            stroke '#ffffff' stroke-width 2 fill none roundrectangle 12,9 34,25 2,2
            stroke none fill '#ffffff' polygon 9,27 37,27 40,31 6,31
            fill '#f29a1f' circle 23,17 23,13
            pop graphic-context" \
        -font "$FONTB" -pointsize $(( 19 * K )) -fill '#00000059' \
        -annotate +$(( 51 * K ))+$(( 27 * K )) "Lapstone Configuration" \
        -fill '#ffffff' -annotate +$(( 50 * K ))+$(( 26 * K )) "Lapstone Configuration" \
        -alpha off -depth 8 "${PNGOPT[@]}" \
        -define png:color-type=2 -define png:bit-depth=8 "PNG24:$ART/header-banner$AT.png"

    # -------------------------------------------------------------- previews

    preview origin   art_origin   '#f29a1f' "Lapstone Configuration" \
        "Rest the pointer on a button to see what it does" "for Zentil Linux"
    preview sysinfo  art_sysinfo  '#1f63c6' "System Information" \
        "View system, BIOS and battery information"
    preview nubstick art_nubstick '#d8202b' "Nubstick" \
        "Switch the Nubstick pointing stick on or off"
    preview audio    art_audio    '#1f63c6' "Audio" \
        "Set up sound with the desktop's sound module"
    preview display  art_display  '#3daa4d' "Display" \
        "Change the screen settings"
    preview modem    art_modem    '#2fa34a' "Internet Modem" \
        "Set up the internet modem"
    preview touchpad art_touchpad '#6f7886' "Touch Pad" \
        "Switch the touchpad on or off"
    preview network  art_network  '#2fb3a6' "Network Adapter" \
        "Set up the network adapter"
    preview power    art_power    '#e0b000' "Power Manager" \
        "Power management settings"
    preview infrared art_infrared '#c8141e' "Infrared" \
        "Set up infrared"
    preview security art_security '#2a6bc4' "Security Information" \
        "Passwords and screen locks"
done

echo "artwork written to $ART and $IMG"
