// The types of vexsum.mjs: check() runs the vexsum console program on the
// bytes of a file and says what it did; the input is never changed.

/** What the program did with the file. */
export interface Result {
  /** "corrected": the CRC field changed (or only the unused half byte after
   * it); "right": nothing to change; "notlibrary": no library object, left as it was. */
  kind: 'corrected' | 'right' | 'notlibrary';
  /** The CRC the file held, as the program prints it ("0000" to "FFFF"); null for no library object. */
  stored: string | null;
  /** The CRC the object should hold; null for no library object. */
  truecrc: string | null;
  /** The whole file after the run: a copy of the input with the changed bytes in it. */
  bytes: Uint8Array;
  /** What the program printed, standard error and output in the order written. */
  lines: string[];
  /** The offset of the first byte changed; null when none changed. */
  at: number | null;
  /** The bytes from at to the last byte changed, before and after; null when none changed. */
  before: Uint8Array | null;
  after: Uint8Array | null;
}

/** A failure of the program (the file cannot be filled): its reason, and what it printed. */
export interface CheckError extends Error {
  lines: string[];
}

/**
 * Runs the program on a file of these bytes, named `name` (shown in its
 * lines; a file's own name, not a path: default "file.lib"). The bytes are
 * copied at the call. Calls take turns. Rejects with a TypeError for an
 * input or name that the program cannot take, and with a CheckError when
 * the program fails.
 */
export function check(
  bytes: Uint8Array | ArrayBuffer | SharedArrayBuffer | ArrayBufferView,
  name?: string,
): Promise<Result>;
