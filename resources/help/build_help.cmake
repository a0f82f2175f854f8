# Builds the help file: the signature line, then every topic source of this folder in file-name
# order. Run as: cmake -DOUT=<bhelp.hlp> -DSRC=<folder> -P build_help.cmake
file(GLOB topics "${SRC}/*.topic")
list(SORT topics)
if(NOT topics)
  message(FATAL_ERROR "No help topics in ${SRC}")
endif()
set(text "TESSIVO HELP 1\n")
foreach(topic IN LISTS topics)
  file(READ "${topic}" body)
  string(APPEND text "${body}\n")
endforeach()
file(WRITE "${OUT}.part" "${text}")
file(RENAME "${OUT}.part" "${OUT}")
