"use strict";
// The studio page: the demo's tracks as the player reports them.
fetch("/api/document").then((r) => r.json()).then((doc) => {
    document.getElementById("studio").textContent = doc.tracks.length + " tracks";
});
