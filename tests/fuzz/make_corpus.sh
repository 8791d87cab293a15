#!/usr/bin/env bash
# Makes the seed corpora of the fuzz targets under tests/fuzz/corpus/ from the repository's own
# configuration and small files made here (ffmpeg and vcdimager for the Video CD sectors, as
# the tests' image fixture does). Run by hand; its output is kept in the repository.
set -euo pipefail
cd "$(dirname "$0")"
corpus="$PWD/corpus"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
seed() {  # seed TARGET NAME: standard input becomes the file
  mkdir -p "$corpus/$1"
  cat >"$corpus/$1/$2"
}

# The configuration: the default one, bound drives, and values out of their bounds.
seed ini_settings default.cfg <../../resources/Quintara.CFG
printf '[Drives]\r\nV: = /tmp, CD-ROM\r\nw: = "/tmp/x.cue"\r\nE:=/,Removable\r\nZ: = relative, RAM Disk\r\nQ: = /nowhere, Bogus\r\n' | seed ini_settings drives.cfg
printf '[Initiation]\nRC Path="..\\\\skins\\\\"\n[volume settings]\nMax Volume Level=-1\nMax Volume Level=99999999999999\n[Play Rate]\nFast Play Rate=4999x\n[PlayList Settings]\nPlay File Extentsion List=%0300d\n' 7 | seed ini_settings bounds.cfg
printf '  [ Drives \n; comment\nD:\n=C:\n[Drives]]\nF: = /proc\n[\n' | seed ini_settings broken.cfg

# The command line: words parted at NUL bytes.
printf '/Play\0D:\0.\0/' | seed command_line play.args
printf 'cLoSe' | seed command_line close.args
printf 'E:\0/PLAY\0z:\0\0%0400d' 1 | seed command_line words.args
printf 'Destroy\0now' | seed command_line destroy.args

# The skin: the default configuration over the fuzzer's small pictures, and pieces of it.
seed skins default.cfg <../../resources/Quintara.CFG
sed -n '/^\[Video\]/,/^\[Panel\]/p' ../../resources/Quintara.CFG | sed 's/RB-Border Bitmap=.*/RB-Border Bitmap=video\\missing.bmp/' | seed skins video.cfg
sed -n '/^\[Panel\]/,$p' ../../resources/Quintara.CFG | sed 's/=\([0-9]*\),\([0-9]*\)$/=\1000000,-\2/' | seed skins panel_far.cfg

# Skin pictures in the depths and encodings a bitmap may have, and one cut short.
for spec in "bmp3:24:rgb" "bmp3:8:pal" "bmp:32:rgba" "bmp3:1:mono" "bmp2:4:pal"; do
  IFS=: read -r format depth name <<<"$spec"
  case "$name" in
    mono) convert -size 7x3 pattern:checkerboard -monochrome "$format:$work/$name.bmp" ;;
    pal) convert -size 5x4 gradient:red-blue -colors 12 -type Palette "$format:$work/$name.bmp" ;;
    *) convert -size 5x4 gradient:red-blue -depth 8 -define bmp:format="$format" "$format:$work/$name.bmp" ;;
  esac
  seed skin_bitmap "${name}_${depth}.bmp" <"$work/$name.bmp"
done
head -c 60 "$work/rgb.bmp" | seed skin_bitmap cut.bmp

# The profile store's file, as it writes it and as hands may.
printf '[Profile]\nUser=me\n[Panel]\nPosition=10,20\n[Video]\nPosition=1,2\nSize=320,240\n' | seed nestwell written.ini
printf '\xef\xbb\xbf[panel]\r\n position = 5 , 6 \r\n[Panel]\nPosition=7,8\n=\n[\n]\n[Video\nSize\n\xff\xfe=x\n' | seed nestwell hand.ini

# The channel: the first byte sets how the bytes arrive.
printf '\x03post 16 0 0\nfile 2f746d702f612e6d7067\nopen\npost 1125 1 3\n' | seed instance_lines messages.txt
printf '\x00post 4294967296 0 0\npost 1 18446744073709551616 -9223372036854775809\nfile 2F\nfile 612f\nfile 2f00\npost 1 2 3\r\n' | seed instance_lines refused.txt
{ printf '\xfffile %09000d' 0; printf '\npost 16 0 0\npost 16 0'; } | seed instance_lines long.txt

# Mount tables.
printf '%s\n' '21 26 0:20 / /proc rw,relatime - proc proc rw' \
  '26 1 259:2 / / rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw,errors=remount-ro' \
  '98 26 11:0 / /media/me/VIDEOCD ro,nosuid,nodev,relatime shared:40 - iso9660 /dev/sr0 ro,norock,check=r' \
  '99 26 0:51 / /run/media/me/STICK rw,nosuid shared:41 - vfat /dev/sdb1 rw,fmask=0022' \
  '100 26 0:52 /share /mnt/net rw,relatime shared:42 - cifs //server/share rw,vers=3.1.1' \
  '101 26 0:53 / /mnt/ram rw shared:43 - tmpfs tmpfs rw,size=1024k' | seed mount_info typical.txt
printf '36 35 98:0 / /media/me/MY\\040DISC rw - iso9660 /dev/sr0 ro\n37 35 0:5 / /mnt/a\\134b\\011c rw shared:1 master:2 - nfs4 srv:/x rw\n38 35 0:6 / /run/media/me/x rw - udf /dev/sr1\n39 35\n40 35 0:7 / /mnt/\\777 rw -\n' | seed mount_info escapes.txt

# Video CD sectors: the volume descriptors and directories of a tiny image vcdimager made.
ffmpeg -loglevel error -y -f lavfi -i testsrc2=size=352x288:rate=25 -f lavfi -i sine=frequency=440:sample_rate=44100 \
  -t 0.2 -target pal-vcd "$work/clip.mpg"
(cd "$work" && vcdimager -t vcd2 -l QUINTARA_VCD -c tiny.cue -b tiny.bin clip.mpg >/dev/null 2>&1)
dd if="$work/tiny.bin" bs=2352 skip=16 count=8 status=none | seed vcd_image vcd2.sectors
dd if="$work/tiny.bin" bs=2352 skip=16 count=2 status=none | seed vcd_image descriptors.sectors

# Cue sheets; the first byte chooses the cue's name (odd: one that needs links).
{ printf '\x00'; sed 's/tiny.bin/film.bin/' "$work/tiny.cue"; } | seed cue_sheet paired.cue
{ printf '\x01'; sed 's/tiny.bin/Film (Track 1).bin/' "$work/tiny.cue"; } | seed cue_sheet named.cue
printf '\x00FILE "../../../../../etc/hostname" BINARY\r\n  TRACK 01 MODE1/2048\r\n    INDEX 01 99:99:99\r\n  TRACK 00 AUDIO\r\nFILE unquoted.bin WAVE\n' | seed cue_sheet hostile.cue

# Video CD control files: INFO, ENTRIES, LOT, PSD, LOT_X and PSD_X of the test fixtures' discs
# (made with moving segments in place of the stills), each behind its length in two bytes. The
# LOT keeps its first 32 list ids.
form1() {  # form1 BIN LSN SIZE: the first SIZE bytes of a Form 1 file out of a raw image
  local sector left=$3 n
  for ((sector = $2; left > 0; sector++)); do
    n=$((left < 2048 ? left : 2048))
    dd if="$1" iflag=skip_bytes,count_bytes bs=4096 skip=$((sector * 2352 + 24)) count=$n status=none
    left=$((left - n))
  done
}
part() {  # part LISTING BIN NAME [LIMIT]: the named file behind its length; empty when missing
  local lsn size
  read -r lsn size < <(awk -v name="$3;1" '$NF == name { sub(/]/, "", $8); print $8, $9 }' "$1") || true
  [ -n "$lsn" ] || { printf '\0\0'; return; }
  size=$((size < ${4:-size} ? size : ${4:-size}))
  printf "$(printf '\\x%02x\\x%02x' $((size >> 8)) $((size & 255)))"
  form1 "$2" "$lsn" "$size"
}
pbc_disc() {  # pbc_disc NAME XML TARGET SIZE EXTENSION
  local disc="$work/$1" clip seconds
  mkdir -p "$disc"
  for clip in track1:3 track2:2 track3:1 motion:0.5 still1:0.2 still2:0.2; do
    seconds="${clip#*:}"
    ffmpeg -loglevel error -y -f lavfi -i "testsrc=size=$4:rate=25:duration=$seconds" \
      -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=$seconds" -ac 2 -target "$3" "$disc/${clip%%:*}.mpg"
  done
  (cd "$disc" && vcdxbuild --quiet -c disc.cue -b disc.bin "$2" >/dev/null 2>&1)
  vcd-info -B -D -F --cue-file="$disc/disc.cue" >"$disc/listing"
  { part "$disc/listing" "$disc/disc.bin" "INFO.$5"; part "$disc/listing" "$disc/disc.bin" "ENTRIES.$5"
    part "$disc/listing" "$disc/disc.bin" "LOT.$5" 66; part "$disc/listing" "$disc/disc.bin" "PSD.$5"
    part "$disc/listing" "$disc/disc.bin" LOT_X.VCD 66; part "$disc/listing" "$disc/disc.bin" PSD_X.VCD
  } | seed vcd_control "$1.parts"
}
pbc_disc vcd "$PWD/../fixtures/vcd-pbc.xml" pal-vcd 352x288 VCD
pbc_disc svcd "$PWD/../fixtures/svcd-pbc.xml" pal-svcd 480x576 SVD

# Program streams: the start of a Video CD and of a Super Video CD clip (B pictures), a group of
# pictures from the sector before it on, a piece cut inside a pack, a folder's CDXA copy of a track.
ffmpeg -loglevel error -y -f lavfi -i testsrc=size=352x288:rate=25 -f lavfi -i sine=frequency=440:sample_rate=44100 \
  -t 1 -target pal-vcd "$work/vcd.mpg"
ffmpeg -loglevel error -y -f lavfi -i testsrc=size=480x576:rate=25 -f lavfi -i sine=frequency=440:sample_rate=44100 \
  -t 3 -target pal-svcd -bf 2 "$work/svcd.mpg"
dd if="$work/vcd.mpg" bs=2324 count=6 status=none | seed mpeg_timestamps vcd_start.mpg
dd if="$work/svcd.mpg" bs=2324 count=6 status=none | seed mpeg_timestamps svcd_start.mpg
dd if="$work/svcd.mpg" bs=2324 skip=43 count=6 status=none | seed mpeg_timestamps svcd_group.mpg
dd if="$work/vcd.mpg" iflag=skip_bytes,count_bytes skip=1000 count=12000 status=none | seed mpeg_timestamps vcd_cut.mpg
track_lsn="$(vcd-info -B -q --cue-file="$work/tiny.cue" -F | sed -n 's/.*\[LSN *\([0-9]*\)\].*AVSEQ01.DAT.*/\1/p')"
{ printf 'RIFF\x00\x00\x00\x00CDXAfmt \x10\x00\x00\x00\x00\x00\x00\x00\x15\x55XA\x01\x00\x00\x00\x00\x00\x00\x00data\x00\x00\x00\x00'
  dd if="$work/tiny.bin" bs=2352 skip="$track_lsn" count=6 status=none; } | seed mpeg_timestamps cdxa.dat
