# cmake -DPROGRAM=... -DLIMIT=bytes -P check_size.cmake
file(SIZE ${PROGRAM} size)
if(size GREATER LIMIT)
  message(FATAL_ERROR "${PROGRAM} is ${size} bytes, over its budget of ${LIMIT}")
endif()
message(STATUS "${PROGRAM}: ${size} bytes, budget ${LIMIT}")
