# Windows-side tests, run under Wine inside a fixture that starts a private
# display, prefix and wineserver in the build folder. Both builds run them:
# the 64-bit one directly, the 32-bit product under user-mode emulation (a
# 64-bit prefix whose 32-bit programs qemu-i386 runs). The 32-bit product's
# export tables are also checked statically.
set(WINE_ENV ${CMAKE_CURRENT_LIST_DIR}/wine_env.sh)

add_executable(prism_dll_test ${CMAKE_CURRENT_LIST_DIR}/prism_dll_test.cpp)
# It loads Prism.dll at run time and links no part of it but the scenes and
# the platform unit's typed export lookup.
target_include_directories(prism_dll_test PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(prism_dll_test PRIVATE frame_sources prism_platform)
add_dependencies(prism_dll_test Prism kiln)

add_executable(prism_dialogs_test ${CMAKE_CURRENT_LIST_DIR}/prism_dialogs_test.cpp)
target_include_directories(prism_dialogs_test PRIVATE ${CMAKE_CURRENT_LIST_DIR} ${CMAKE_SOURCE_DIR}/prism)
target_link_libraries(prism_dialogs_test PRIVATE prism_platform user32 comctl32)
add_dependencies(prism_dialogs_test Prism kiln)

add_executable(simcam_test ${CMAKE_CURRENT_LIST_DIR}/simcam_test.cpp)
target_include_directories(simcam_test PRIVATE ${CMAKE_CURRENT_LIST_DIR} ${CMAKE_SOURCE_DIR}/companions/simcam)
target_link_libraries(simcam_test PRIVATE frame_sources prism_platform user32 gdi32 advapi32)
add_dependencies(simcam_test simcam)

add_executable(wingui_test ${CMAKE_CURRENT_LIST_DIR}/wingui_test.cpp)
target_include_directories(wingui_test PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(wingui_test PRIVATE wingui user32 gdi32)
add_dependencies(wingui_test lexis)

add_executable(vantage_test ${CMAKE_CURRENT_LIST_DIR}/vantage_test.cpp)
target_include_directories(vantage_test PRIVATE ${CMAKE_CURRENT_LIST_DIR} ${CMAKE_SOURCE_DIR}/vantage/camera
                           ${CMAKE_SOURCE_DIR}/companions/simcam)
target_link_libraries(vantage_test PRIVATE vantage_core prism_platform user32 gdi32 shell32)
add_dependencies(vantage_test Vantage lexis Prism simcam)

add_executable(pictor_test ${CMAKE_CURRENT_LIST_DIR}/pictor_test.cpp)
target_include_directories(pictor_test PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(pictor_test PRIVATE user32 advapi32)
add_dependencies(pictor_test Pictor scripted_dsm)
add_executable(vantage_views_test ${CMAKE_CURRENT_LIST_DIR}/vantage_views_test.cpp)
target_include_directories(vantage_views_test PRIVATE ${CMAKE_CURRENT_LIST_DIR} ${CMAKE_SOURCE_DIR}/vantage/camera
                           ${CMAKE_SOURCE_DIR}/companions/simcam)
target_link_libraries(vantage_views_test PRIVATE vantage_core prism_platform user32 gdi32)
add_dependencies(vantage_views_test Vantage lexis Prism simcam)

# Download, clips and transfer; it also links the clip writer itself.
add_executable(vantage_download_test ${CMAKE_CURRENT_LIST_DIR}/vantage_download_test.cpp
               ${CMAKE_SOURCE_DIR}/vantage/camera/avi_writer.cpp)
target_include_directories(vantage_download_test PRIVATE ${CMAKE_CURRENT_LIST_DIR} ${CMAKE_SOURCE_DIR}/vantage/camera
                           ${CMAKE_SOURCE_DIR}/companions/simcam)
target_link_libraries(vantage_download_test PRIVATE vantage_core prism_platform user32 gdi32 avifil32)
add_dependencies(vantage_download_test Vantage lexis Prism simcam)

# Not a test: keeps a camera window open (scripts/screenshot-camera-window.sh).
add_executable(camera_window_host ${CMAKE_CURRENT_LIST_DIR}/camera_window_host.cpp)
target_include_directories(camera_window_host PRIVATE ${CMAKE_CURRENT_LIST_DIR} ${CMAKE_SOURCE_DIR}/vantage/camera
                           ${CMAKE_SOURCE_DIR}/companions/simcam)
target_link_libraries(camera_window_host PRIVATE prism_platform user32)

# Not a test: keeps one of Prism.dll's dialogs open (scripts/screenshot-prism-dialogs.sh).
add_executable(prism_dialog_host ${CMAKE_CURRENT_LIST_DIR}/prism_dialog_host.cpp)
target_include_directories(prism_dialog_host PRIVATE ${CMAKE_CURRENT_LIST_DIR} ${CMAKE_SOURCE_DIR}/prism)
target_link_libraries(prism_dialog_host PRIVATE prism_platform user32)

add_test(NAME wine_start COMMAND ${WINE_ENV} ${CMAKE_BINARY_DIR} start)
add_test(NAME wine_stop COMMAND ${WINE_ENV} ${CMAKE_BINARY_DIR} stop)
set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine)
set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine)

function(add_wine_test name target)
  add_test(NAME ${name} COMMAND ${WINE_ENV} ${CMAKE_BINARY_DIR} run $<TARGET_FILE:${target}> ${ARGN})
  # A program whose Wine broke down under it can still end with status 0.
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 600
    FAIL_REGULAR_EXPRESSION "wine client error;uncaught target signal;wine: Unhandled")
endfunction()

# Checks that cannot work under the emulator are left out on the 32-bit build
# only, by name, and the reason is printed with the test's output. The
# emulator behaves as if it kept one thread-storage descriptor for all the
# threads of a process: a thread that Wine interrupts with a signal (to suspend it, read its
# context or hand it an exception) comes back with the storage of the thread
# started last, and then crashes or loses its connection to the Wine server.
# The system's file and folder dialogs and the media window run threads of
# their own and fail so; a bare program that opens the same folder browser
# works, so it depends on the threads around them.
set(EMULATOR_THREADS "under emulation a signal leaves a thread with another thread's storage")
function(leave_out_under_emulation test reason)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    list(JOIN ARGN "|" names)
    list(JOIN ARGN " | " shown)
    set_tests_properties(${test} PROPERTIES ENVIRONMENT
      "WINE_TEST_SKIP=${names};WINE_TEST_NOTE=left out under emulation: ${shown} (${reason})")
  endif()
endfunction()

# GoogleTest reports a skipped test through OutputDebugString, whose exception
# the emulated Wine does not survive; on Windows these comparisons are skipped anyway.
set(MATHS_AGAINST_C_LIBRARY "PortableMath.*AgainstTheCLibrary")
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(EMULATED_UNIT_TEST_FILTER --gtest_filter=-${MATHS_AGAINST_C_LIBRARY})
endif()
add_wine_test(wine_prism_unit_tests prism_unit_tests ${EMULATED_UNIT_TEST_FILTER})
leave_out_under_emulation(wine_prism_unit_tests "${EMULATOR_THREADS}: a skipped test reports through an exception"
  ${MATHS_AGAINST_C_LIBRARY})
add_wine_test(wine_vantage_unit_tests vantage_unit_tests)
add_wine_test(wine_pictor_unit_tests pictor_unit_tests)
add_wine_test(wine_prism_dll prism_dll_test $<TARGET_FILE:Prism> $<TARGET_FILE:kiln>)
add_wine_test(wine_prism_dialogs prism_dialogs_test $<TARGET_FILE:Prism> $<TARGET_FILE:kiln>)
leave_out_under_emulation(wine_prism_dialogs "${EMULATOR_THREADS}: the system's open and save dialogs"
  "open, edit, apply: import and export" "unwritable export")
add_wine_test(wine_simcam simcam_test $<TARGET_FILE:simcam>)
add_wine_test(wine_wingui wingui_test $<TARGET_FILE:lexis>)
add_wine_test(wine_pictor pictor_test $<TARGET_FILE:Pictor> $<TARGET_FILE:scripted_dsm>)
leave_out_under_emulation(wine_pictor "${EMULATOR_THREADS}: the system's save dialog"
  "failed save keeps the picture, Save As")
set(CAMERA_WINDOW_ARGS $<TARGET_FILE:Vantage> $<TARGET_FILE:lexis> $<TARGET_FILE:Prism> $<TARGET_FILE:simcam>
    ${CMAKE_BINARY_DIR}/companions/lexis_icons/icon19.ico)
add_wine_test(wine_vantage vantage_test ${CAMERA_WINDOW_ARGS})
leave_out_under_emulation(wine_vantage "${EMULATOR_THREADS}: the system's folder browser"
  TestCloseRequestDuringBrowser)
add_wine_test(wine_vantage_views vantage_views_test ${CAMERA_WINDOW_ARGS})
leave_out_under_emulation(wine_vantage_views "${EMULATOR_THREADS}: the system's open dialog and the media window"
  "TestEnlargedStill: raw files" TestEnlargedClip TestCloseRequestDuringRawFile)
add_wine_test(wine_vantage_download vantage_download_test ${CAMERA_WINDOW_ARGS})

# Both builds give the same bytes (needs the native build's prism tool).
set(NATIVE_BUILD_DIR "" CACHE PATH "native build folder, for the comparison of the builds")
if(NATIVE_BUILD_DIR)
  add_test(NAME builds_give_same_bytes
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/compare_builds.sh ${CMAKE_BINARY_DIR}
                   ${NATIVE_BUILD_DIR}/tools/prism $<TARGET_FILE:prism_tool>)
  set_tests_properties(builds_give_same_bytes PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 900)
endif()

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  # The product's DLL: exactly the six undecorated names at ordinals 1..6.
  add_test(NAME prism_dll_exports
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/check_exports.sh ${CMAKE_OBJDUMP} $<TARGET_FILE:Prism>)
  # The simulated camera: the thirteen operations at their operation numbers, then the controls.
  add_test(NAME simcam_dll_exports
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/check_exports.sh ${CMAKE_OBJDUMP} $<TARGET_FILE:simcam>
                   1:OpenCamera 2:CloseCamera 3:TogglePreview 4:StartCapture 5:NotifyClose 6:SetFrameSize
                   7:ReadDirectory 8:ReadEntries 9:ReadFrame 10:DeleteAllPictures 11:GetFrameInfo
                   12:SwitchVideoSize 13:TransferImages 20:SimCamLoadScenes 21:SimCamLoadFolder
                   22:SimCamGetOperations 23:SimCamSetFault 24:SimCamReset 25:SimCamSetFormatCode
                   26:SimCamSetDeviceStatus 27:SimCamCallLog 28:SimCamTransferredCount 29:SimCamTakeTransferred)
  # The acquisition program: a 32-bit GUI program; the data source manager is
  # loaded at run time, not imported.
  add_test(NAME pictor_exe_program
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/check_program.sh ${CMAKE_OBJDUMP} $<TARGET_FILE:Pictor> TWAIN_32.DLL)
  # The simulated camera's data source: DS_Entry alone.
  add_test(NAME twain_source_exports
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/check_exports.sh ${CMAKE_OBJDUMP} $<TARGET_FILE:twain_source> 1:DS_Entry)
  # The camera window library: OpenVantage alone.
  add_test(NAME vantage_dll_exports
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/check_exports.sh ${CMAKE_OBJDUMP} $<TARGET_FILE:Vantage> 1:OpenVantage)
endif()

# The simulated camera's TWAIN data source, installed where Wine's data source
# manager finds it (fixture twain_source): a test that acquires through the
# manager requires it.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(TWAIN_FOLDER_BITS 64)
else()
  set(TWAIN_FOLDER_BITS 32)
endif()
add_test(NAME twain_source_install
         COMMAND ${CMAKE_CURRENT_LIST_DIR}/install_twain_source.sh ${CMAKE_BINARY_DIR} ${TWAIN_FOLDER_BITS}
                 $<TARGET_FILE:twain_source> $<TARGET_FILE:Vantage> $<TARGET_FILE:lexis> $<TARGET_FILE:Prism>
                 $<TARGET_FILE:simcam>)
set_tests_properties(twain_source_install PROPERTIES FIXTURES_SETUP twain_source FIXTURES_REQUIRED wine)

add_executable(twain_source_test ${CMAKE_CURRENT_LIST_DIR}/twain_source_test.cpp)
# It speaks to the source only through Wine's manager; the protocol's
# definitions and the generated pictures' content are shared with the source.
target_include_directories(twain_source_test PRIVATE ${CMAKE_CURRENT_LIST_DIR} ${CMAKE_SOURCE_DIR}/companions/simcam
                           ${CMAKE_SOURCE_DIR}/vantage/camera ${CMAKE_SOURCE_DIR}/companions/twain_source)
target_link_libraries(twain_source_test PRIVATE user32)
add_dependencies(twain_source_test twain_source)
add_wine_test(wine_twain_source twain_source_test)
set_tests_properties(wine_twain_source PROPERTIES FIXTURES_REQUIRED "wine;twain_source")
# Pictor through Wine's manager and the installed source.
add_wine_test(wine_pictor_source pictor_test $<TARGET_FILE:Pictor> --through-manager)
set_tests_properties(wine_pictor_source PROPERTIES FIXTURES_REQUIRED "wine;twain_source")
