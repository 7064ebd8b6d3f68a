# Windows build: the plug-in as Tavrossimer.asi, its release package (CPack ZIP),
# and, when cross-compiling with MinGW-w64 on Linux, the PE check and the
# end-to-end test under Wine. Included by the top-level CMakeLists.txt when WIN32.
#
#   cmake --preset windows && cmake --build --preset windows
#   cmake --build --preset windows --target package      # the release zip
#   ctest --preset windows                               # PE check and Wine test

set(TAVROSSIMER_HOST_DEF ${CMAKE_SOURCE_DIR}/packaging/ScriptHookRDR2.def)

# --- Import library for ScriptHookRDR2.dll -----------------------------------
# The host exports its functions under MSVC-decorated C++ names. MinGW binds the
# declarations to plain aliases (GNU as cannot spell the '?'), and dlltool's
# "alias == decorated" lines map each alias to the decorated import name.
if(MINGW)
  if(NOT TAVROSSIMER_DLLTOOL)
    find_program(TAVROSSIMER_DLLTOOL NAMES x86_64-w64-mingw32-dlltool dlltool REQUIRED)
  endif()
  set(TAVROSSIMER_HOST_IMPLIB ${CMAKE_BINARY_DIR}/libScriptHookRDR2.a)
  add_custom_command(
    OUTPUT ${TAVROSSIMER_HOST_IMPLIB}
    COMMAND ${TAVROSSIMER_DLLTOOL} --input-def ${TAVROSSIMER_HOST_DEF} --output-lib ${TAVROSSIMER_HOST_IMPLIB}
    DEPENDS ${TAVROSSIMER_HOST_DEF}
    COMMENT "Import library for ScriptHookRDR2.dll"
    VERBATIM)
elseif(MSVC)
  # MSVC mangles the plain declarations to the decorated names themselves, so
  # lib.exe only needs the decorated names.
  file(STRINGS ${TAVROSSIMER_HOST_DEF} host_def_lines REGEX "^[ \t]*[A-Za-z_][A-Za-z0-9_]* *== *\"")
  set(host_msvc_def "LIBRARY ScriptHookRDR2.dll\nEXPORTS\n")
  foreach(line IN LISTS host_def_lines)
    string(REGEX REPLACE "^.*== *\"([^\"]+)\".*$" "\\1" decorated "${line}")
    string(APPEND host_msvc_def "    ${decorated}\n")
  endforeach()
  file(WRITE ${CMAKE_BINARY_DIR}/ScriptHookRDR2.msvc.def "${host_msvc_def}")
  set(TAVROSSIMER_HOST_IMPLIB ${CMAKE_BINARY_DIR}/ScriptHookRDR2.lib)
  add_custom_command(
    OUTPUT ${TAVROSSIMER_HOST_IMPLIB}
    COMMAND ${CMAKE_AR} /nologo /machine:x64 /def:${CMAKE_BINARY_DIR}/ScriptHookRDR2.msvc.def
            /out:${TAVROSSIMER_HOST_IMPLIB}
    DEPENDS ${TAVROSSIMER_HOST_DEF}
    COMMENT "Import library for ScriptHookRDR2.dll"
    VERBATIM)
else()
  message(FATAL_ERROR "Tavrossimer.asi needs MinGW-w64 or MSVC")
endif()
add_custom_target(scripthook_importlib DEPENDS ${TAVROSSIMER_HOST_IMPLIB})

# --- Tavrossimer.asi -----------------------------------------------------------
# A module (no import library of its own): the host loads it, nothing links it.
add_library(Tavrossimer MODULE ${TAVROSSIMER_PLUGIN_SOURCES})
set_target_properties(Tavrossimer PROPERTIES PREFIX "" SUFFIX ".asi" OUTPUT_NAME Tavrossimer)
target_include_directories(Tavrossimer PRIVATE ${CMAKE_SOURCE_DIR}/src)
add_dependencies(Tavrossimer scripthook_importlib)
target_link_libraries(Tavrossimer PRIVATE ${TAVROSSIMER_HOST_IMPLIB})
if(MINGW)
  target_compile_options(Tavrossimer PRIVATE ${TAVROSSIMER_WARNINGS})
  # -static: libgcc, libstdc++ and winpthread go into the DLL, so the game folder
  # needs no MinGW runtime DLLs. --exclude-all-symbols: without a dllexport, ld
  # would otherwise export every global symbol of the runtime it linked in.
  target_link_options(Tavrossimer PRIVATE
    -static -static-libgcc -static-libstdc++
    -Wl,--exclude-all-symbols
    -Wl,--no-insert-timestamp
    $<$<CONFIG:Release,MinSizeRel>:-s>)
else()
  # MSVC is not built in CI (MinGW is the checked build), so its warnings stay warnings.
  target_compile_options(Tavrossimer PRIVATE /W4 /permissive- /EHsc)
  target_compile_definitions(Tavrossimer PRIVATE _CRT_SECURE_NO_WARNINGS)
  set_property(TARGET Tavrossimer PROPERTY MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
endif()

# --- tavrossimer-check.exe, the player's file checker ----------------------------
include(${CMAKE_SOURCE_DIR}/checker/CMakeLists.txt)

# --- Checks --------------------------------------------------------------------
enable_testing()
if(MINGW)
  if(NOT TAVROSSIMER_OBJDUMP)
    find_program(TAVROSSIMER_OBJDUMP NAMES x86_64-w64-mingw32-objdump objdump)
  endif()
  if(TAVROSSIMER_OBJDUMP)
    add_custom_target(check_pe
      COMMAND ${CMAKE_COMMAND} -E env OBJDUMP=${TAVROSSIMER_OBJDUMP}
              sh ${CMAKE_SOURCE_DIR}/tools/check_pe.sh $<TARGET_FILE:Tavrossimer>
      DEPENDS Tavrossimer
      COMMENT "Checking the PE image of Tavrossimer.asi"
      VERBATIM)
    add_test(NAME pe_check COMMAND sh ${CMAKE_SOURCE_DIR}/tools/check_pe.sh $<TARGET_FILE:Tavrossimer>)
    set_tests_properties(pe_check PROPERTIES ENVIRONMENT "OBJDUMP=${TAVROSSIMER_OBJDUMP}")
  endif()
endif()

# --- End-to-end under Wine -------------------------------------------------------
# The stand-in host built as ScriptHookRDR2.dll (exporting the eight decorated
# names) plus a driver program that loads the real Tavrossimer.asi through the
# Windows loader and plays scenarios against the stand-in world.
if(MINGW AND EXISTS ${CMAKE_SOURCE_DIR}/tests/wine/CMakeLists.txt)
  add_subdirectory(${CMAKE_SOURCE_DIR}/tests/wine ${CMAKE_BINARY_DIR}/tests_wine)
endif()

# --- Release package ---------------------------------------------------------------
# Text files go out with Windows line ends, for Notepad's sake.
foreach(doc Tavrossimer.ini Tavrossimer_CustomPeds.txt INSTALL.txt)
  configure_file(${CMAKE_SOURCE_DIR}/packaging/${doc} ${CMAKE_BINARY_DIR}/package/${doc} @ONLY NEWLINE_STYLE CRLF)
endforeach()
install(TARGETS Tavrossimer LIBRARY DESTINATION . RUNTIME DESTINATION .)
install(TARGETS tavrossimer-check RUNTIME DESTINATION .)
install(FILES
  ${CMAKE_BINARY_DIR}/package/Tavrossimer.ini
  ${CMAKE_BINARY_DIR}/package/Tavrossimer_CustomPeds.txt
  ${CMAKE_BINARY_DIR}/package/INSTALL.txt
  DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Tavrossimer)
set(CPACK_PACKAGE_VENDOR Tavrossimer)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Hired bodyguards for Red Dead Redemption 2 (ScriptHookRDR2 plug-in)")
set(CPACK_PACKAGE_FILE_NAME Tavrossimer-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES OFF)
include(CPack)
