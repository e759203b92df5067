// The picture library's sources live beside this file.
