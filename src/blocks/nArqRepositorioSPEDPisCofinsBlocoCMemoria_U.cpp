#include "blocks/nArqRepositorioSPEDPisCofinsBlocoCMemoria_U.h"

#include <algorithm>

#include "host/Nutildb.h"


TParams TnArqRepositorioSPEDPisCofinsBlocoCMemoria::GetParamsEstabDataLCO(const TnParansBlocoC& AParans) {
  TParams v = GetParamsEstabData(AParans);
  // [empresa, estab, início, fim] -> [empresa, início, fim, estab]
  if (v.size() == 4) std::rotate(v.begin() + 1, v.begin() + 2, v.end());
  return v;
}

void TnArqRepositorioSPEDPisCofinsBlocoCMemoria::CarregarDadosC170(std::unique_ptr<TDataSet>& ADataSet,
                                                                    const TnParansBlocoC& AParans) {
  ADataSet = Nutildb::ExecutarSQL(GetSqlC170(AParans), GetParamsEstabDataLCO(AParans), false, false, 1000, "",
                                  nullptr, true);
}
