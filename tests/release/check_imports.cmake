# cmake -DOBJDUMP=... -DPROGRAM=... -P check_imports.cmake
# Passes when the program imports from KERNEL32.dll and msvcrt.dll and from no other DLL.
execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "objdump could not read ${PROGRAM}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" lines "${dump}")
list(TRANSFORM lines REPLACE "DLL Name: " "")
list(SORT lines CASE INSENSITIVE)
if(NOT lines STREQUAL "KERNEL32.dll;msvcrt.dll")
  message(FATAL_ERROR "expected imports KERNEL32.dll;msvcrt.dll, got: ${lines}")
endif()
message(STATUS "imports: ${lines}")
