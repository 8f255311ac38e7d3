// Anchors the generated form headers and resources in a library of their own.
