# cmake -DOBJDUMP=... -DPROGRAM=... -DEXPECTED=a.dll|b.dll -P check_imports.cmake
# Passes when the program imports from the expected DLLs, in order of name, and from no other.
execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "objdump could not read ${PROGRAM}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" lines "${dump}")
list(TRANSFORM lines REPLACE "DLL Name: " "")
list(SORT lines CASE INSENSITIVE)
string(REPLACE "|" ";" expected "${EXPECTED}")
if(NOT lines STREQUAL expected)
  message(FATAL_ERROR "expected imports ${expected}, got: ${lines}")
endif()
message(STATUS "imports: ${lines}")
