#pragma once

#include <string>

// The characters the program reads and writes (file names, arguments, what the window system
// types) are UTF-8 on every desktop this program runs on. A start with no locale at all (a bare
// root shell, a container, a service manager) or with the plain C locale leaves the C library in
// ASCII, and the toolkit then turns every umlaut of a file name or argument into nothing: a job
// file "Prüfung Süd.kvr" cannot be opened. Such a start gets the UTF-8 variant of the C locale
// for its characters, as other programs do for the same reason; numbers and messages stay those
// of the C locale. A locale the user chose (de_DE.UTF-8, en_US.ISO-8859-1, …) is left alone.
namespace charset {

// Call before the toolkit starts: sets the C library's locale from the environment and, where
// that gives ASCII, the characters to C.UTF-8, in this process and in the environment (the
// toolkit reads the environment again). Returns the name of the character locale in force.
std::string UseUtf8WhenUnset();

}  // namespace charset
