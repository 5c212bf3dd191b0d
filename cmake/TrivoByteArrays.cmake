# What the scripts that carry files into trivo-make as C++ sources share (TrivoEmbed.cmake,
# TrivoEmbedStudio.cmake, TrivoCatalogues.cmake): a file as a byte array, and a source rewritten
# only when it changes, so that what includes it is not rebuilt for nothing.

# Sets out to "static const unsigned char NAME[] = {...};", the bytes of file then a 0 (an array
# is never empty), 32 bytes a line, and out_size to the file's size.
function(trivo_byte_array out name file)
  file(READ ${file} hex HEX)
  file(SIZE ${file} size)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x..,){32})" "\\1\n" bytes "${bytes}")
  set(${out} "static const unsigned char ${name}[] = {\n${bytes}0};\n" PARENT_SCOPE)
  set(${out}_size ${size} PARENT_SCOPE)
endfunction()

function(trivo_write_source output text)
  file(WRITE ${output}.new "${text}")
  file(COPY_FILE ${output}.new ${output} ONLY_IF_DIFFERENT)
  file(REMOVE ${output}.new)
endfunction()
