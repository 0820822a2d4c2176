// Two rules of the window framework about message numbers, kept free of the platform's headers:
// which messages make idle work run again, and which results a dialog procedure returns itself.
#pragma once

// Every message but mouse movement, painting and the caret's blink timer makes idle work run again.
bool ReArmsIdleWork(unsigned message);

// Messages whose result a dialog procedure returns directly instead of through DWLP_MSGRESULT:
// WM_VKEYTOITEM, WM_CHARTOITEM, WM_QUERYDRAGICON, WM_COMPAREITEM, WM_INITDIALOG and the
// control-colour messages.
bool ReturnsResultDirectly(unsigned message);
