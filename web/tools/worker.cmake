# The page's service worker, made from web/page/sw.js: its list of the
# page's own files, and the name of its cache, vexsum-VERSION-HASH, HASH
# the start of the SHA-256 of each file's name and SHA-256, so that any
# change to any of them is a new worker and a new cache.
# usage: cmake -DWORKER=sw.js -DOUT=FILE -DVERSION=V -DFILES=a;b;c -P worker.cmake (in the build's folder)
set(sums "")
foreach(name IN LISTS FILES)
	file(SHA256 ${name} sum)
	string(APPEND sums "${name} ${sum}\n")
endforeach()
string(SHA256 hash "${sums}")
string(SUBSTRING ${hash} 0 16 hash)
set(PAGECACHE vexsum-${VERSION}-${hash})
list(JOIN FILES " " PAGEFILES)
configure_file(${WORKER} ${OUT} @ONLY)
