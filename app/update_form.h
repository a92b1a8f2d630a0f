#pragma once
// The update form: current and latest version, the notes of the latest
// update and the two download addresses.
namespace app {

// Opens the update form, modal and owned by the main window; when one is
// open already, brings that one to the front instead.
void OpenUpdateForm();

} // namespace app
