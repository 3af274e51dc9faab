#include "host/FieldMapper.h"

#include <fmt/format.h>

#include "base/Erros.h"

TFieldRef::TFieldRef(TRowMap* ADono, const char* ANome) : FNome(ANome) { ADono->FCampos.push_back(this); }

TField& TFieldRef::Field() const {
  if (!FField) throw EBancoDados(fmt::format("Campo {} do mapa de linha não foi ligado (falta MapearFields)", FNome));
  return *FField;
}

void TnFieldMapper::MapearFields(TDataSet& ADataSet, TRowMap& AMapa) const {
  for (TFieldRef* r : AMapa.Campos()) {
    TField* f = ADataSet.FindField(r->Nome());
    if (!f) throw EBancoDados(fmt::format("Campo não encontrado: {} (o mapa de linha pede e a consulta não traz)", r->Nome()));
    r->FField = f;
  }
}
