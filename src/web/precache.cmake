# SPDX-License-Identifier: GPL-3.0-or-later
# Writes precache.js for the page's service worker: the files the page needs and a cache
# name made of their contents, so that each build whose files differ is cached anew.
#   cmake -DDIR=<build folder> -DFILES=<name,name,...> -P precache.cmake
string(REPLACE "," ";" files "${FILES}")
set(digests "")
set(names "")
foreach(file IN LISTS files)
  file(SHA256 ${DIR}/${file} digest)
  string(APPEND digests "${file} ${digest}\n")
  string(APPEND names "  '${file}',\n")
endforeach()
string(SHA256 version "${digests}")
string(SUBSTRING ${version} 0 16 version)
file(WRITE ${DIR}/precache.js
  "// SPDX-License-Identifier: GPL-3.0-or-later\n"
  "// Written by the build (src/web/precache.cmake): what the service worker keeps.\n"
  "self.VOLPAR_CACHE = 'volpar-${version}';\n"
  "self.VOLPAR_FILES = [\n  './',\n${names}];\n")
