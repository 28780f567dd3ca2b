# A test of the Windows build: makes the package in a scratch folder of the build, then checks that the zip
# holds exactly the EXPECTED files (paths inside its top folder PACKAGE), that the module and the renderer in
# it are shipped without symbols, and that the module still carries its registration and version resources.
#   cmake -DCPACK=... -DBUILD_DIR=... -DPACKAGE=name -DEXPECTED="a;b/c" -P CheckPackage.cmake
set(scratch ${BUILD_DIR}/package-check)
file(REMOVE_RECURSE ${scratch})
execute_process(COMMAND ${CPACK} --config ${BUILD_DIR}/CPackConfig.cmake -B ${scratch}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
set(zip ${scratch}/${PACKAGE}.zip)
if(NOT result EQUAL 0 OR NOT EXISTS ${zip})
  message(FATAL_ERROR "cpack did not make ${PACKAGE}.zip:\n${output}")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${zip} OUTPUT_VARIABLE listing RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cannot list ${zip}")
endif()
string(REGEX REPLACE "\n$" "" listing "${listing}")
string(REPLACE "\n" ";" listing "${listing}")
list(FILTER listing EXCLUDE REGEX "/$") # folders
set(expected)
foreach(file IN LISTS EXPECTED)
  list(APPEND expected ${PACKAGE}/${file})
endforeach()
list(SORT listing)
list(SORT expected)
if(NOT listing STREQUAL expected)
  string(REPLACE ";" "\n  " listing "${listing}")
  string(REPLACE ";" "\n  " expected "${expected}")
  message(FATAL_ERROR "the package holds\n  ${listing}\ninstead of\n  ${expected}")
endif()

file(MAKE_DIRECTORY ${scratch}/unpacked)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${zip} WORKING_DIRECTORY ${scratch}/unpacked)
file(READ ${scratch}/unpacked/${PACKAGE}/OrvaneVelmorathquist.aex module HEX)
string(HEX "MIB8dnik" registration)                 # the first property of the registration resource
set(version 560053005f00560045005200530049004f004e005f0049004e0046004f00) # "VS_VERSION_INFO" in UTF-16
foreach(part registration version)
  string(FIND "${module}" "${${part}}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the packaged module has lost its ${part} resource")
  endif()
endforeach()

# The 32-bit little-endian number at `offset` of `file`.
function(read_uint32 file offset var)
  file(READ ${file} hex OFFSET ${offset} LIMIT 4 HEX)
  string(REGEX REPLACE "(..)(..)(..)(..)" "\\4\\3\\2\\1" hex "${hex}")
  math(EXPR value "0x${hex}")
  set(${var} ${value} PARENT_SCOPE)
endfunction()
foreach(program OrvaneVelmorathquist.aex orvane-render.exe)
  set(file ${scratch}/unpacked/${PACKAGE}/${program})
  read_uint32(${file} 60 header)            # where the PE header starts (e_lfanew)
  math(EXPR symbol_count "${header} + 16")  # its file header's NumberOfSymbols
  read_uint32(${file} ${symbol_count} symbols)
  if(NOT symbols EQUAL 0)
    message(FATAL_ERROR "the packaged ${program} carries ${symbols} symbols: it was not stripped")
  endif()
endforeach()

string(REPLACE ";" "\n  " listing "${listing}")
message(STATUS "${PACKAGE}.zip holds:\n  ${listing}")
