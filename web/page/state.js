// The page's one state object: everything about the page that changes while
// it is open is here, read and written by the modules that import it.
export const state = {
  ready: false, // the program has run once in this browser
  waiting: [], // files given while the program loads
  // the batch: files given while one runs join it, and Clear ends it
  pending: [], // { file, path, size } not yet started
  working: false,
  round: 0, // each Clear starts a new round: a card from an older one is dropped
  finished: 0, // files of the batch done so far, of total
  total: 0,
  tally: null, // the batch's count of each kind: corrected, right, refused, failed
  newest: null, // the batch's last card in the list so far: the next go after it
  shelf: [], // the batch's cards not yet in the list: { item, entry, judged }
  shown: 0, // when cards last went into the list, in ms
  needs: [], // the batch's cards that need attention: { path, kind, id }
  cards: 0, // cards made, for their ids
  fixed: [], // the corrected files of the list: { entry, path, head, bytes, item }, head as read, bytes after the run
  links: [], // object URLs of the downloads shown
  cleared: null, // the list that Clear took, until Undo or the next pick: { cards, fixed, links }
  spoken: 0, // when the batch's progress was last said, in ms
  zips: 0, // zips handed to the service worker, for their addresses
  dragend: 0, // the timer that ends the drop cue once a drag has left the window
};
