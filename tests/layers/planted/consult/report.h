// a header of the top layer
