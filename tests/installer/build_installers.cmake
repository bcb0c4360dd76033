# cmake -DMAKENSIS=... -DBUILD_DIR=... -DHERE=... -P build_installers.cmake
# Builds the installers that the installer tests run, with warnings as errors:
# - the example, from what `cmake --install` ships (installer-kit/), with a stand-in jar;
# - checks.exe from checks.nsi, and two copies whose QUENZ_EXE is no Quenz: a program that
#   says nothing (checks-mute.exe) and a file that is no program at all (checks-broken.exe),
#   and one that behaves as on a volume without short (8.3) names;
# - checks.nsi for the x86 stubs too, built but never run (this Wine runs 64-bit programs only).
# It also takes the batch example out of README.md into quenz-check.cmd, beside Quenz.exe.
if(NOT EXISTS "${MAKENSIS}")
  message(FATAL_ERROR "no makensis: install nsis (scripts/test does)")
endif()
set(kit ${BUILD_DIR}/installer-kit)

# Builds `script` with the options that follow, in the kit's folder.
function(makensis script)
  execute_process(COMMAND ${MAKENSIS} -V2 -WX ${ARGN} ${script} WORKING_DIRECTORY ${kit}
    RESULT_VARIABLE failed OUTPUT_VARIABLE log ERROR_VARIABLE log)
  if(failed)
    message(FATAL_ERROR "makensis ${ARGN} ${script} failed:\n${log}")
  endif()
endfunction()

file(REMOVE_RECURSE ${kit})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${kit}
  OUTPUT_QUIET RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cmake --install failed")
endif()
file(WRITE ${kit}/Dalmivorax.jar "the jar the example installs\n")
makensis(example.nsi "-XTarget amd64-unicode")

foreach(target amd64-unicode x86-unicode x86-ansi)
  makensis(${HERE}/checks.nsi "-X!addincludedir ${kit}" "-XTarget ${target}"
    -DOUTFILE=${BUILD_DIR}/checks-${target}.exe)
endforeach()
file(RENAME ${BUILD_DIR}/checks-amd64-unicode.exe ${BUILD_DIR}/checks.exe)
makensis(${HERE}/checks.nsi "-X!addincludedir ${kit}" "-XTarget amd64-unicode"
  -DQUENZ_EXE=${BUILD_DIR}/empty.exe -DOUTFILE=${BUILD_DIR}/checks-mute.exe)
makensis(${HERE}/checks.nsi "-X!addincludedir ${kit}" "-XTarget amd64-unicode"
  -DQUENZ_EXE=${kit}/README.md -DOUTFILE=${BUILD_DIR}/checks-broken.exe)
makensis(${HERE}/checks.nsi "-X!addincludedir ${kit}" "-XTarget amd64-unicode"
  -D__QUENZ_TEST_NO_SHORT_NAMES -DOUTFILE=${BUILD_DIR}/checks-no-short-names.exe)

file(READ ${kit}/README.md readme)
if(NOT readme MATCHES "```bat\n([^`]*)```")
  message(FATAL_ERROR "README.md has no ```bat example")
endif()
string(REPLACE "\n" "\r\n" batch "${CMAKE_MATCH_1}")
file(WRITE ${BUILD_DIR}/quenz-check.cmd "${batch}")
