# libjpeg: Debian's libjpeg-dev natively; for Windows the static libjpeg-turbo
# that scripts/build-libjpeg-windows.sh cross-builds into JPEG_WINDOWS_PREFIX.
if(WIN32)
  set(JPEG_WINDOWS_PREFIX "" CACHE PATH "cross-built libjpeg-turbo")
  if(NOT EXISTS "${JPEG_WINDOWS_PREFIX}/lib/libjpeg.a")
    message(FATAL_ERROR "No cross-built libjpeg-turbo in '${JPEG_WINDOWS_PREFIX}'; run scripts/setup.sh")
  endif()
  add_library(jpeg STATIC IMPORTED GLOBAL)
  set_target_properties(jpeg PROPERTIES
    IMPORTED_LOCATION "${JPEG_WINDOWS_PREFIX}/lib/libjpeg.a"
    INTERFACE_INCLUDE_DIRECTORIES "${JPEG_WINDOWS_PREFIX}/include")
else()
  find_package(JPEG REQUIRED)
  add_library(jpeg INTERFACE IMPORTED GLOBAL)
  target_link_libraries(jpeg INTERFACE JPEG::JPEG)
endif()
