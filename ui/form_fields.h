// form_fields.h: the form's text fields in code page 949: their byte limits while the user types,
// and the refusal of a character 949 cannot hold before anything is sent or saved.
#ifndef SETRADIO_UI_FORM_FIELDS_H
#define SETRADIO_UI_FORM_FIELDS_H

#include "common/platform.h"

// EN_UPDATE of an edit: a field's edit never holds more than its 949 byte limit.
void OnFieldUpdate(HWND window, int id);
// 1 when 949 holds every field sent and saved (addresses, PPPoE, Pls); otherwise names the first
// field that it cannot in a box, focuses it and returns 0.
int CheckFormFields(HWND window);
// The same for the channel name and server URL edits.
int CheckChannelFields(HWND window);

#endif
