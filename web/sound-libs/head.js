// The page's sound packages, from the pinned npm packages (package-lock.json):
// fft.js, a CommonJS module, given a module object of its own and published as
// DedozFFT; then mpg123-decoder's browser build, which publishes itself as
// 'mpg123-decoder'. Bundled by web/sound.cmake.
(function () {
var module = { exports: {} };
