# Writes the source that links the two program images into the installer's
# data, as one block: the uninstaller's bytes, then the client's directly after.
#
#   cmake -DMODE=asm|source -DOUTPUT=<file> [-DFORMAT=elf|pe] [-DSYMBOL_PREFIX=_]
#         -DUNINSTALLER=<file> -DUNINSTALLER_SIZE=<n> -DUNINSTALLER_STANDIN=ON|OFF
#         -DCLIENT=<file> -DCLIENT_SIZE=<n> -DCLIENT_STANDIN=ON|OFF -P EmbedImages.cmake
#
# A stand-in image (one of the build's own programs: the uninstaller, the
# client's stand-in) is made to look like the shipped one: its third byte
# becomes 'P' so that it begins with "MZP" (the loader ignores that header
# field), and zero bytes pad it to the given size (the loader ignores bytes
# after the last section). The checksum in its header is made that of the bytes
# as embedded, so that a signature added to the installed program and removed
# again gives back the same bytes. Any other image is embedded as it is and must
# have the size the build was configured with.
#
# MODE asm writes assembler source that includes the files with .incbin;
# MODE source writes a C++ array, for toolchains without a GNU assembler.
# With -DSEPARATE_DIR=<dir>, MODE asm also writes uninstaller.s and client.s
# there, each holding one image alone in the same section: assembled on their
# own, they give the build the bytes of each image as embedded, to digest.

cmake_minimum_required(VERSION 3.20)

function(check_image path expected standin)
  if(NOT EXISTS "${path}")
    message(FATAL_ERROR "Image not found: ${path}")
  endif()
  file(SIZE "${path}" actual)
  if(standin AND actual GREATER expected)
    message(FATAL_ERROR "The program ${path} is ${actual} bytes, more than the ${expected} bytes of its place "
                        "in the installer")
  elseif(NOT standin AND NOT actual EQUAL expected)
    message(FATAL_ERROR "Image ${path} is ${actual} bytes but the build was configured for ${expected}; "
                        "configure the build again")
  endif()
  set(actual_size ${actual} PARENT_SCOPE)
endfunction()

# The little-endian number in LENGTH bytes at OFFSET of a file.
function(read_number out path offset length)
  file(READ "${path}" hex OFFSET ${offset} LIMIT ${length} HEX)
  string(REGEX MATCHALL ".." bytes "${hex}")
  set(value "")
  foreach(byte IN LISTS bytes)
    set(value "${byte}${value}")
  endforeach()
  math(EXPR value "0x${value}")
  set(${out} ${value} PARENT_SCOPE)
endfunction()

# Adds two 16-bit sums with the carry brought round, as the checksum does.
function(add_folded out a b)
  math(EXPR sum "${a} + ${b}")
  math(EXPR sum "(${sum} & 0xFFFF) + (${sum} >> 16)")
  math(EXPR sum "(${sum} & 0xFFFF) + (${sum} >> 16)")
  set(${out} ${sum} PARENT_SCOPE)
endfunction()

# Where the header checksum of a stand-in is (checksum_offset, empty when it has
# none) and its value once the third byte is 'P' and zeros pad it to
# padded_size. The checksum is the 16-bit sum of the file's words with the
# carry brought round, plus the file's length: zeros add nothing to the sum, so
# only the changed word and the length move it, and the linker's checksum gives
# the new one without reading the whole file.
function(embedded_checksum path size padded_size)
  set(checksum_offset "" PARENT_SCOPE)
  read_number(header_offset "${path}" 60 4)
  math(EXPR field "${header_offset} + 88")
  math(EXPR field_end "${field} + 4")
  if(header_offset LESS 64 OR field_end GREATER size)
    return()
  endif()
  read_number(signature "${path}" ${header_offset} 4)
  read_number(linked "${path}" ${field} 4)
  if(NOT signature EQUAL 17744 OR linked EQUAL 0)  # 17744: "PE\0\0"
    return()  # not a program with a checksum: nothing to keep right
  endif()
  math(EXPR sum "${linked} - ${size}")
  if(sum LESS 0 OR sum GREATER 65535)
    message(FATAL_ERROR "The header checksum of ${path} is not that of its bytes")
  endif()
  read_number(old_word "${path}" 2 2)
  math(EXPR new_word "(${old_word} & 0xFF00) | 0x50")
  math(EXPR complement "0xFFFF - ${old_word}")
  add_folded(sum ${sum} ${complement})
  add_folded(sum ${sum} ${new_word})
  math(EXPR checksum "${sum} + ${padded_size}")
  set(checksum_offset ${field} PARENT_SCOPE)
  set(checksum ${checksum} PARENT_SCOPE)
endfunction()

function(asm_image out path expected standin)
  check_image("${path}" ${expected} ${standin})
  string(REPLACE "\\" "\\\\" quoted "${path}")
  string(REPLACE "\"" "\\\"" quoted "${quoted}")
  if(standin)
    math(EXPR padding "${expected} - ${actual_size}")
    embedded_checksum("${path}" ${actual_size} ${expected})
    set(text "  .incbin \"${quoted}\", 0, 2\n  .byte 0x50\n")
    if(checksum_offset)
      math(EXPR before "${checksum_offset} - 3")
      math(EXPR after "${checksum_offset} + 4")
      string(APPEND text "  .incbin \"${quoted}\", 3, ${before}\n  .long ${checksum}\n  .incbin \"${quoted}\", ${after}\n")
    else()
      string(APPEND text "  .incbin \"${quoted}\", 3\n")
    endif()
    string(APPEND text "  .fill ${padding}, 1, 0\n")
  else()
    set(text "  .incbin \"${quoted}\"\n")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(hex_image out path expected standin)
  check_image("${path}" ${expected} ${standin})
  file(READ "${path}" hex HEX)
  string(TOLOWER "${hex}" hex)
  if(standin)
    string(SUBSTRING "${hex}" 0 4 head)
    string(SUBSTRING "${hex}" 6 -1 tail)
    math(EXPR padding "${expected} - ${actual_size}")
    string(REPEAT "00" ${padding} zeros)
    set(hex "${head}50${tail}${zeros}")
    embedded_checksum("${path}" ${actual_size} ${expected})
    if(checksum_offset)
      math(EXPR at "${checksum_offset} * 2")
      math(EXPR rest "${at} + 8")
      string(SUBSTRING "${hex}" 0 ${at} head)
      string(SUBSTRING "${hex}" ${rest} -1 tail)
      math(EXPR value "${checksum}" OUTPUT_FORMAT HEXADECIMAL)
      string(SUBSTRING "${value}" 2 -1 value)
      string(LENGTH "${value}" digits)
      math(EXPR missing "8 - ${digits}")
      string(REPEAT "0" ${missing} zeros)
      string(REGEX REPLACE "(..)(..)(..)(..)" "\\4\\3\\2\\1" little "${zeros}${value}")
      string(TOLOWER "${little}" little)
      set(hex "${head}${little}${tail}")
    endif()
  endif()
  set(${out} "${hex}" PARENT_SCOPE)
endfunction()

if(MODE STREQUAL "asm")
  asm_image(uninstaller "${UNINSTALLER}" ${UNINSTALLER_SIZE} ${UNINSTALLER_STANDIN})
  asm_image(client "${CLIENT}" ${CLIENT_SIZE} ${CLIENT_STANDIN})
  set(symbol "${SYMBOL_PREFIX}vorpane_payload_images")
  if(FORMAT STREQUAL "pe")
    set(section "  .section .rdata,\"dr\"\n")
    set(plain_section "${section}")
    set(trailer "")
    set(plain_trailer "")
  else()
    set(section "  .section .rodata.vorpane_payload,\"a\",@progbits\n")
    set(trailer "  .size ${symbol}, ${UNINSTALLER_SIZE} + ${CLIENT_SIZE}\n")
    set(plain_trailer "  .section .note.GNU-stack,\"\",@progbits\n")
    string(APPEND trailer "${plain_trailer}")
    set(plain_section "${section}")
    string(APPEND section "  .type ${symbol}, @object\n")
  endif()
  file(WRITE "${OUTPUT}"
       "/* Generated by the build; do not edit. */\n${section}  .globl ${symbol}\n  .balign 16\n${symbol}:\n"
       "/* the uninstaller */\n${uninstaller}/* the client, directly after it */\n${client}${trailer}")
  if(SEPARATE_DIR)
    foreach(role uninstaller client)
      file(WRITE "${SEPARATE_DIR}/${role}.s" "/* Generated by the build; do not edit. */\n${plain_section}${${role}}${plain_trailer}")
    endforeach()
  endif()
elseif(MODE STREQUAL "source")
  hex_image(uninstaller "${UNINSTALLER}" ${UNINSTALLER_SIZE} ${UNINSTALLER_STANDIN})
  hex_image(client "${CLIENT}" ${CLIENT_SIZE} ${CLIENT_STANDIN})
  # 16 bytes to a line; one zero byte at the end keeps the array valid for empty images.
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${uninstaller}${client}00")
  string(REPEAT "0x..," 16 line)
  string(REGEX REPLACE "(${line})" "\\1\n" bytes "${bytes}")
  file(WRITE "${OUTPUT}"
       "// Generated by the build; do not edit.\n"
       "// The uninstaller's bytes, then the client's directly after them.\n"
       "extern \"C\" const unsigned char vorpane_payload_images[] = {\n${bytes}};\n")
else()
  message(FATAL_ERROR "MODE must be asm or source")
endif()
