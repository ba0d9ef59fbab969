// Before the console program runs under Node (npx vexsum): Node opens any
// standard stream that it finds closed on /dev/null, read-write, before a
// script runs, so that a report to a closed standard output would vanish
// with status 0 and the file filled unseen. Such a stream gets the root
// folder in its place, as posix.cpp does for a closed one, so that a write
// to it fails and the program ends as it does natively. On Linux a stream on
// /dev/null counts as Node's when it is open read-write (a shell's >/dev/null
// is write-only); where the system does not say, any stream on /dev/null does.
// One that a parent opened read-write (Python's subprocess.DEVNULL) looks the
// same and is refused too: a run that cannot tell must not fill unseen.
var nodeclosed = [0, 1, 2].filter(fd => {
  const fs = require('fs');
  try {
    const st = fs.fstatSync(fd);
    if (!st.isCharacterDevice() || st.rdev !== fs.statSync('/dev/null').rdev) return false;
  } catch {
    return false;
  }
  let info;
  try {
    info = fs.readFileSync('/proc/self/fdinfo/' + fd, 'utf8');
  } catch {
    return true;
  }
  const flags = /^flags:\s*([0-7]+)/m.exec(info);
  return !flags || (parseInt(flags[1], 8) & 3) === 2;
});
Module['onRuntimeInitialized'] = () => nodeclosed.forEach(fd => {
  try {
    FS.streams[fd].nfd = require('fs').openSync('/', 'r');
  } catch {
    delete FS.streams[fd]; // the program's own check then stops the run
  }
});
