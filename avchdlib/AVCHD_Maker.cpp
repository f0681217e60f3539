#include "avchdlib/AVCHD_Maker.h"

#include "aaalib/AAA_Exceptions.h"
#include "aaalib/AAA_Log.h"
#include "aaalib/AAA_Verify.h"

namespace AVCHD {

using AAA::MakerModelException;

void VerifyMakerAndModel(const AAA::FieldBase& MakerID, const AAA::FieldBase& MakerModelCode) {
  if (!AAA_CHECK(MakerID, AVCHD_MAKER_ID)) AAA_THROW(MakerModelException());
  if (!AAA_REPORT_FAILURE(MakerModelCode, AVCHD_VERIFY_MAKER_MODEL_CODE(MakerModelCode))) {
    AAA_THROW(MakerModelException());
  }
}

}  // namespace AVCHD
