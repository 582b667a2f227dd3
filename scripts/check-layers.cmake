# Checks that the folders of src/ keep to their layers. Run as
#   cmake -DSOURCE_DIR=<checkout> -P scripts/check-layers.cmake
# It fails on an include that points up (or sideways into a folder not listed below), on a
# Qt header, a processor's intrinsics header or a system header (<sys/...>) in the plain C++
# layers, and on a source file that its folder's CMakeLists.txt does not list.

cmake_minimum_required(VERSION 3.25)

# What each folder may include besides itself, lowest layer first.
set(may_include_core "")
set(may_include_engine core)
set(may_include_platform core)
set(may_include_codecs core engine platform)
set(may_include_report core platform)
set(may_include_job core engine platform codecs report)
set(may_include_cli core engine platform codecs report job)
set(may_include_desktop core platform)
set(may_include_app core engine platform codecs report job desktop)
set(may_include_inputs core engine platform codecs report job desktop app)
set(folders core engine platform codecs report job cli desktop app inputs)
set(plain_cpp core engine)

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "Give the checkout as -DSOURCE_DIR=...")
endif()
set(src "${SOURCE_DIR}/src")
set(faults "")

file(GLOB present RELATIVE "${src}" LIST_DIRECTORIES true "${src}/*")
foreach(entry IN LISTS present)
  if(IS_DIRECTORY "${src}/${entry}" AND NOT entry IN_LIST folders)
    string(APPEND faults "src/${entry}/ has no place among the layers\n")
  endif()
endforeach()

foreach(folder IN LISTS folders)
  file(GLOB files RELATIVE "${src}/${folder}" "${src}/${folder}/*.cpp" "${src}/${folder}/*.h")
  file(READ "${src}/${folder}/CMakeLists.txt" listing)
  if(listing MATCHES "GLOB")
    string(APPEND faults "src/${folder}/CMakeLists.txt finds its sources by pattern instead of listing them\n")
  endif()
  foreach(file IN LISTS files)
    if(NOT folder STREQUAL "cli" OR NOT file STREQUAL "main.cpp")
      string(REGEX MATCH "(^|[ \t\n(])${file}([ \t\n)]|$)" listed "${listing}")
      if(NOT listed)
        string(APPEND faults "src/${folder}/${file} is not listed in src/${folder}/CMakeLists.txt\n")
      endif()
    endif()
    file(STRINGS "${src}/${folder}/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS includes)
      if(line MATCHES "#[ \t]*include[ \t]*\"([a-z]+)/")
        set(target "${CMAKE_MATCH_1}")
        if(NOT target STREQUAL folder AND NOT target IN_LIST may_include_${folder})
          string(APPEND faults "src/${folder}/${file} includes ${target}/, which ${folder}/ may not reach: ${line}\n")
        endif()
      endif()
      if(folder IN_LIST plain_cpp AND line MATCHES "#[ \t]*include[ \t]*<Q")
        string(APPEND faults "src/${folder}/${file} is plain C++ but includes a Qt header: ${line}\n")
      endif()
      # Vector code goes through Highway, which builds for every processor; system calls live
      # in system/, beside the layers, one source per system.
      if(folder IN_LIST plain_cpp AND line MATCHES "#[ \t]*include[ \t]*<([a-z0-9_]*intrin\\.h|arm_neon\\.h|arm_sve\\.h|sys/)")
        string(APPEND faults "src/${folder}/${file} is plain C++ but includes a processor's or system's own header: ${line}\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  message(FATAL_ERROR "The layers are broken:\n${faults}")
endif()
message(STATUS "Layers kept: every include points down, the plain C++ layers use no Qt, no intrinsics and no system header, every source is listed")
