// Which entry names may be given to a file in the output folder.
#ifndef DIALOG_ENTRY_NAME_H
#define DIALOG_ENTRY_NAME_H

// False for a name that would place the file outside the folder it is joined
// to: a leading separator, a drive or stream colon, or a ".." component
// (including the forms Windows trims to "..", such as "... " or ". .").
bool is_contained_entry_name(const char *name);

#endif  // DIALOG_ENTRY_NAME_H
