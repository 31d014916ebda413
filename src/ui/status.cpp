// Messages and questions of the status window and the dialog host. Without
// a status window or dialog on screen they are plain message boxes with no
// owner, which is what both did when their window was absent.
#include "orxutil/orxutil.h"
#include "platform/platform.h"

namespace p = glint::platform;

extern "C" {

ORX_API int StatusMessageTitle(const char* text, const char* caption, uint8_t error) {
  p::message_box(caption ? caption : "", text ? text : "",
                 p::kMbOk | (error ? p::kMbIconError : p::kMbIconInformation));
  return 0;  // no status window, so it cannot have been closed
}

ORX_API int StatusMessage(const char* text, uint8_t error) {
  return StatusMessageTitle(text, "", error);
}

ORX_API int StatusAsk(const char* question, uint8_t default_no) {
  unsigned style = p::kMbYesNo | p::kMbIconQuestion | (default_no ? p::kMbDefButton2 : 0);
  return p::message_box("", question ? question : "", style) == p::kIdYes ? 1 : 0;
}

ORX_API int ORXDialogAsk(const char* question, int style) {
  unsigned box = p::kMbIconQuestion;
  box |= (style >= 32 && style < 64) ? p::kMbYesNoCancel : p::kMbYesNo;
  int low = ((style % 32) + 32) % 32;
  if (low == 0) box |= p::kMbDefButton2;
  if (low == 2) box |= p::kMbDefButton3;
  int answer = p::message_box("", question ? question : "", box);
  if (answer == p::kIdYes) return 1;
  if (answer == p::kIdNo) return 0;
  return 2;
}

ORX_API int ORXDialogMessage(const char* text, int style) {
  unsigned box = p::kMbIconInformation;
  box |= (style >= 32 && style < 64) ? p::kMbOkCancel : p::kMbOk;
  if (((style % 32) + 32) % 32 == 2) box |= p::kMbDefButton2;
  return p::message_box("", text ? text : "", box) == p::kIdOk ? 0 : 2;
}

}  // extern "C"
