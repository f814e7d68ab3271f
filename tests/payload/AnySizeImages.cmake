# Two images whose sizes no section alignment divides (the client's is that of a
# real program that once failed to embed), written at configure time as given
# files and embedded as the installer embeds given images:
# vorpane_any_size_images, for AnySizeImagesTest natively and under Wine.

set(vorpane_any_size_folder ${CMAKE_CURRENT_BINARY_DIR}/any-size-images)
file(MAKE_DIRECTORY ${vorpane_any_size_folder})

# A text of exactly <bytes> bytes, different for every image.
function(vorpane_write_any_size_image path bytes seed)
  string(REPEAT "${seed} image of ${bytes} bytes, not a multiple of 16.\n" 64 block)
  string(LENGTH "${block}" block_bytes)
  math(EXPR repeats "${bytes} / ${block_bytes} + 1")
  string(REPEAT "${block}" ${repeats} text)
  string(SUBSTRING "MZ${text}" 0 ${bytes} text)
  if(EXISTS "${path}")
    file(READ "${path}" old)
    if(old STREQUAL text)
      return()  # unchanged: no rebuild
    endif()
  endif()
  file(WRITE "${path}" "${text}")
endfunction()

set(vorpane_any_size_uninstaller_bytes 4099)
set(vorpane_any_size_client_bytes 1160413)
vorpane_write_any_size_image(${vorpane_any_size_folder}/uninstaller.bin ${vorpane_any_size_uninstaller_bytes} uninstaller)
vorpane_write_any_size_image(${vorpane_any_size_folder}/client.bin ${vorpane_any_size_client_bytes} client)
file(SHA256 ${vorpane_any_size_folder}/uninstaller.bin vorpane_any_size_uninstaller_sha256)
file(SHA256 ${vorpane_any_size_folder}/client.bin vorpane_any_size_client_sha256)

vorpane_images_library(vorpane_any_size_images
  UNINSTALLER ${vorpane_any_size_folder}/uninstaller.bin ${vorpane_any_size_uninstaller_bytes} OFF
              ${vorpane_any_size_folder}/uninstaller.bin
  CLIENT ${vorpane_any_size_folder}/client.bin ${vorpane_any_size_client_bytes} OFF ${vorpane_any_size_folder}/client.bin)

# Compile definitions for a test of these images.
set(vorpane_any_size_definitions
  VORPANE_ANY_SIZE_UNINSTALLER_BYTES=${vorpane_any_size_uninstaller_bytes}u
  VORPANE_ANY_SIZE_CLIENT_BYTES=${vorpane_any_size_client_bytes}u
  VORPANE_ANY_SIZE_UNINSTALLER_SHA256="${vorpane_any_size_uninstaller_sha256}"
  VORPANE_ANY_SIZE_CLIENT_SHA256="${vorpane_any_size_client_sha256}")
