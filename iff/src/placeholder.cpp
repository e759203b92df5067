// The container library's sources live beside this file.
