# Media libraries. Filled in by the media work: id3lib natively from
# Debian's package, for Windows built from Debian's source package.
set(QUORV_HAVE_ID3LIB OFF)
