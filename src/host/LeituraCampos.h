#pragma once
// Leitura de colunas opcionais das tabelas de opção: nulo vale o padrão documentado.
#include <string>

#include "host/DataSet.h"

namespace NLeituraCampos {

inline int Inteiro(TDataSet& ADataSet, const char* ACampo, int APadrao) {
  TField& f = ADataSet.FieldByName(ACampo);
  return f.IsNull() ? APadrao : static_cast<int>(f.AsInteger());
}
inline bool Logico(TDataSet& ADataSet, const char* ACampo, bool APadrao) {
  return Inteiro(ADataSet, ACampo, APadrao ? 1 : 0) != 0;
}
inline double Real(TDataSet& ADataSet, const char* ACampo, double APadrao) {
  TField& f = ADataSet.FieldByName(ACampo);
  return f.IsNull() ? APadrao : f.AsFloat();
}
inline std::string Texto(TDataSet& ADataSet, const char* ACampo) {
  TField& f = ADataSet.FieldByName(ACampo);
  return f.IsNull() ? std::string() : f.AsString();
}
inline TDateTime Data(TDataSet& ADataSet, const char* ACampo) {
  TField& f = ADataSet.FieldByName(ACampo);
  return f.IsNull() ? 0 : DateOf(f.AsDateTime());
}

}  // namespace NLeituraCampos
