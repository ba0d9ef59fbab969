# The page's service worker, made from web/page/sw.js with its list of the
# page's own files.
# usage: cmake -DWORKER=sw.js -DOUT=FILE -DVERSION=V -DFILES=a;b;c -P worker.cmake (in the build's folder)
list(JOIN FILES " " PAGEFILES)
configure_file(${WORKER} ${OUT} @ONLY)
