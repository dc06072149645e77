// lindrel: the EUKLID contour drawing program's window.
#include "gui/companions/CompanionStart.h"

int main(int argc, char** argv) {
  return talvorin::gui::RunDrawingProgram(argc, argv, talvorin::gui::LindrelWindowProgram());
}
