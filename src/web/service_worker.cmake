cmake_minimum_required(VERSION 3.18)
# Writes the page's index.html and service worker (sw.js) into DIR. The
# build's name is the digest of all the page's FILES, with PAGE, the
# index.html template, in place of index.html; index.html names it, so
# that it asks for its own build's files (?b=), and sw.js holds it with the
# SHA-256 of each file as written, from TEMPLATE.
file(READ ${PAGE} page)
string(SHA256 all "index.html ${page}")
foreach(file ${FILES})
  if(NOT file STREQUAL "index.html")
    file(SHA256 ${DIR}/${file} digest)
    string(APPEND all "${file} ${digest}\n")
  endif()
endforeach()
string(SHA256 build "${all}")
string(SUBSTRING ${build} 0 16 build)
string(REPLACE "@BUILD@" "${build}" page "${page}")
file(WRITE ${DIR}/index.html "${page}")

set(entries "")
foreach(file ${FILES})
  file(SHA256 ${DIR}/${file} digest)
  list(APPEND entries "['${file}', '${digest}']")
endforeach()
list(JOIN entries ",\n  " entries)
file(READ ${TEMPLATE} text)
string(REPLACE "@BUILD@" "${build}" text "${text}")
string(REPLACE "@FILES@" "[\n  ${entries}\n]" text "${text}")
file(WRITE ${DIR}/sw.js "${text}")
