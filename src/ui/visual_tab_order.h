// The tab order of a dialog as a reader sees it: row by row from the top, left to right
// in a row, and a group's controls together where the group stands.
#pragma once

class QWidget;

// Lays the dialog out and orders Tab through its controls; call once it is built.
void FollowVisualTabOrder(QWidget* dialog);
