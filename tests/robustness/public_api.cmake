# SPDX-License-Identifier: GPL-3.0-or-later
# Writes OUT: a line ROW(rt_name, "parameter,names") for every function the
# public headers declare (runtime/runtime.h and the headers it includes), for
# the boundary test; the build runs it whenever a header changes.
# Usage: cmake -DSOURCE_DIR=<tree> -DOUT=<file> -P public_api.cmake
file(READ "${SOURCE_DIR}/runtime/runtime.h" top)
string(REGEX MATCHALL "runtime/[a-z]+/rt_[a-z]+\\.h" headers "${top}")
set(rows "")
foreach(header IN ITEMS "runtime/runtime.h" ${headers})
  file(READ "${SOURCE_DIR}/${header}" text)
  # Comments go, and semicolons (which would split CMake lists) become "@".
  string(REPLACE ";" "@" text "${text}")
  string(REGEX REPLACE "/\\*([^*]|\\*+[^*/])*\\*+/|//[^\n]*" "" text "${text}")
  string(REGEX MATCHALL "rt_[a-z0-9_]+\\([^()]*\\)[ \t\n]*@" declarations "${text}")
  foreach(declaration IN LISTS declarations)
    string(REGEX REPLACE "^(rt_[a-z0-9_]+)\\(([^()]*)\\).*" "\\1" name "${declaration}")
    string(REGEX REPLACE "^(rt_[a-z0-9_]+)\\(([^()]*)\\).*" "\\2" parameters "${declaration}")
    # Each parameter's last word is its name; "void" is none.
    string(REGEX REPLACE "[^,]*[^A-Za-z0-9_,]([A-Za-z_][A-Za-z0-9_]*)[ \t\n]*(,|$)" "\\1\\2"
           names "${parameters}")
    string(REGEX REPLACE "^[ \t\n]*void[ \t\n]*$" "" names "${names}")
    string(APPEND rows "ROW(${name}, \"${names}\")\n")
  endforeach()
endforeach()
string(REGEX MATCHALL "ROW" count "${rows}")
list(LENGTH count count)
if(count LESS 200)
  message(FATAL_ERROR "only ${count} public functions found: the headers' layout changed")
endif()
file(WRITE "${OUT}.new" "${rows}")
file(COPY_FILE "${OUT}.new" "${OUT}" ONLY_IF_DIFFERENT)
