# Fails when one of OBJECTS (a ;-list of object files) has a dynamic
# initialiser: code that would run during static initialisation.
#   cmake -DNM=<nm> -DOBJECTS=<a.o;b.o> -P check_static_init.cmake
if(NOT OBJECTS)
  message(FATAL_ERROR "no object files to check")
endif()
foreach(object IN LISTS OBJECTS)
  execute_process(COMMAND ${NM} ${object} OUTPUT_VARIABLE symbols RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${NM} failed on ${object}")
  endif()
  # GCC and Clang name a translation unit's dynamic initialiser _GLOBAL__sub_I_...
  if(symbols MATCHES "_GLOBAL__sub_I_")
    message(FATAL_ERROR "${object} has a dynamic initialiser")
  endif()
  message(STATUS "${object}: constant-initialised")
endforeach()
