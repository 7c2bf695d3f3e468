// The page's scripts ran to their end: index.html's loader looks for this
// to tell a page.js cut short from a whole one.
window.pageArrived = true;
