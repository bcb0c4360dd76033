# cmake -DNM=... -DOBJECTS=a.obj|b.obj -P check_no_allocator.cmake
# Passes when none of the object files calls a heap allocator, of the C runtime, of C++ or
# of Windows.
string(REPLACE "|" ";" objects "${OBJECTS}")
set(allocators
  "malloc|calloc|realloc|free|_?strdup|_?wcsdup|_aligned_malloc|_malloca|_recalloc|_expand"
  "_Zn[wa][ymj].*|_Zd[la]P.*"
  "HeapAlloc|HeapReAlloc|HeapCreate|LocalAlloc|LocalReAlloc|GlobalAlloc|GlobalReAlloc"
  "VirtualAlloc|VirtualAllocEx|CoTaskMemAlloc|SysAllocString.*|RtlAllocateHeap")
list(JOIN allocators "|" pattern)
set(found "")
foreach(object IN LISTS objects)
  execute_process(COMMAND ${NM} -u ${object} OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "nm could not read ${object}")
  endif()
  string(REGEX MATCHALL "U [^\n]+" undefined "${symbols}")
  foreach(line IN LISTS undefined)
    string(REGEX REPLACE "^U (__imp_)?" "" symbol "${line}")
    # 32-bit names carry a leading underscore, and __stdcall ones their arguments' size.
    if(symbol MATCHES "^_?(${pattern})(@[0-9]+)?$")
      get_filename_component(name ${object} NAME)
      list(APPEND found "${name}: ${symbol}")
    endif()
  endforeach()
endforeach()
list(LENGTH objects count)
if(found)
  message(FATAL_ERROR "heap allocation in the program's own code:\n${found}")
endif()
message(STATUS "no allocator referenced in ${count} object files")
