globalThis.DedozFFT = module.exports;
})();
