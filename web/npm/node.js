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
// Node's file layer (Emscripten's NODERAWFS) otherwise falls short of the
// system in two ways that the program's checks of its file meet (it numbers
// the program's descriptors as Node does its own, so that the program's
// reopen through /proc/self/fd/N reaches the file it holds):
// - it drops O_NONBLOCK from an open, so that an open would wait out
//   another's lease (45 s on Linux) rather than fail with EWOULDBLOCK, which
//   the program counts as a held lock; and it drops O_PATH, so that the look
//   at the file would open it for reading, which a FIFO swapped in holds up
//   for ever: Linux gets O_PATH as it is, elsewhere the look does not wait;
// - fstat stats the name that the file was opened by, so that the program's
//   last look would compare the path with itself: it asks Node about the
//   open file instead.
// fstat is bound to the program before it starts, hence the assignment here
___syscall_fstat64 = (fd, buf) => {
  try {
    const nfd = SYSCALLS.getStreamFromFD(fd).nfd;
    return SYSCALLS.doStat(() => require('fs').fstatSync(nfd), '', buf);
  } catch (e) {
    if (e instanceof FS.ErrnoError) return -e.errno;
    if (e.code in ERRNO_CODES) return -ERRNO_CODES[e.code];
    throw e;
  }
};
var nodeopen = () => {
  const flags = NODEFS.flagsForNode, path = 0o10000000, nonblock = 0o4000;
  NODEFS.flagsForNode = f => flags(f) | (f & (path | nonblock) ? require('fs').constants.O_NONBLOCK : 0) |
    (f & path && process.platform === 'linux' ? path : 0);
};
Module['onRuntimeInitialized'] = () => {
  nodeopen();
  nodeclosed.forEach(fd => {
    try {
      FS.streams[fd].nfd = require('fs').openSync('/', 'r');
    } catch {
      delete FS.streams[fd]; // the program's own check then stops the run
    }
  });
};
