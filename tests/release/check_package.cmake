# cmake -DBUILD_DIR=... -DWORK_DIR=... -DOWN_DIR=.|x86 -DDOCS=... -P check_package.cmake
# Passes when `cmake --install` holds exactly Quenz.exe, QuenzCheck.exe, README.md and
# the guides in docs/, the NSIS header with its example, the custom action and its WiX source,
# the Inno Setup include with its example, the batch file, and the 32-bit programs under x86/,
# each program as built. The zip that scripts/release makes of it is checked
# by check_sha256sums.
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${WORK_DIR}/installed
                OUTPUT_QUIET RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cmake --install failed")
endif()
file(GLOB_RECURSE installed RELATIVE ${WORK_DIR}/installed ${WORK_DIR}/installed/*)
file(GLOB docs RELATIVE ${DOCS}/.. ${DOCS}/*.md)
list(APPEND docs Quenz.exe Quenz.iss Quenz.nsh Quenz.wxi QuenzCA.dll QuenzCheck.exe README.md
  example.iss example.nsi quenz-check.cmd x86/Quenz.exe x86/QuenzCA.dll x86/QuenzCheck.exe)
list(SORT docs)
list(SORT installed)
if(NOT installed STREQUAL docs)
  message(FATAL_ERROR "installed: ${installed}")
endif()

foreach(program Quenz.exe QuenzCA.dll QuenzCheck.exe x86/Quenz.exe x86/QuenzCA.dll x86/QuenzCheck.exe)
  # The build's own width is built at its top, the other in other-width/.
  get_filename_component(dir ./${program} DIRECTORY)
  get_filename_component(name ${program} NAME)
  if(dir STREQUAL "./${OWN_DIR}" OR dir STREQUAL "${OWN_DIR}")
    set(built ${name})
  else()
    set(built other-width/${name})
  endif()
  file(SHA256 ${WORK_DIR}/installed/${program} installed_hash)
  file(SHA256 ${BUILD_DIR}/${built} built_hash)
  if(NOT installed_hash STREQUAL built_hash)
    message(FATAL_ERROR "the installed ${program} differs from the built one")
  endif()
endforeach()
