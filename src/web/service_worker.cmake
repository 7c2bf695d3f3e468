cmake_minimum_required(VERSION 3.18)
# Writes the page's service worker (sw.js) into DIR from TEMPLATE: the
# names of the page's FILES with the SHA-256 of each as built, and the
# build's name, the digest of all of them, which names its cache.
set(entries "")
set(all "")
foreach(file ${FILES})
  file(SHA256 ${DIR}/${file} digest)
  list(APPEND entries "['${file}', '${digest}']")
  string(APPEND all "${file} ${digest}\n")
endforeach()
list(JOIN entries ",\n  " entries)
string(SHA256 build "${all}")
string(SUBSTRING ${build} 0 16 build)
file(READ ${TEMPLATE} text)
string(REPLACE "@BUILD@" "${build}" text "${text}")
string(REPLACE "@FILES@" "[\n  ${entries}\n]" text "${text}")
file(WRITE ${DIR}/sw.js "${text}")
