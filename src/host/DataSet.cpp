#include "host/DataSet.h"

#include <fmt/format.h>
#include <strings.h>

#include "base/Erros.h"
#include "host/Database.h"
#include "host/RastroSQL.h"

namespace {
const TVariant kNulo{};

bool MesmoNome(std::string_view a, std::string_view b) {
  return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}
}  // namespace

const TVariant& TField::Value() const { return FDono->ValorCampo(FIndice); }
int64_t TField::AsInteger() const { return VarToInt(Value()); }
double TField::AsFloat() const { return VarToFloat(Value()); }
std::string TField::AsString() const { return VarToStr(Value()); }
TDateTime TField::AsDateTime() const { return VarToDateTime(Value()); }
bool TField::AsBoolean() const { return VarToBool(Value()); }
void TField::SetValue(TVariant v) { FDono->DefinirValorCampo(FIndice, std::move(v)); }

void TDataSet::Next() {
  if (FEof) return;
  const int64_t inicio = FRastro ? TRastroSQL::AgoraNs() : 0;
  const bool achou = BuscarProxima();
  if (FRastro) FRastroNs += TRastroSQL::AgoraNs() - inicio;
  if (achou) {
    ++FRecNo;
    DispararProgresso();
  } else {
    FEof = true;
    FLinha.assign(FLinha.size(), TVariant{});
    FecharRastro();
  }
}

void TDataSet::IniciarRastro(const TParams& AValores) {
  FecharRastro();
  TRastroSQL* rastro = FConexao ? FConexao->Rastro() : nullptr;
  if (!rastro) return;
  FRastroIndice = rastro->Iniciar(FCommandText, AValores);
  FRastro = rastro;
  FRastroNs = -TRastroSQL::AgoraNs();  // Abrir() soma o fim da execução e da primeira busca
}

void TDataSet::FecharRastro() {
  if (!FRastro) return;
  auto& e = FRastro->Entrada(FRastroIndice);
  e.Linhas = FRecNo;
  e.Ms = static_cast<double>(FRastroNs < 0 ? FRastroNs + TRastroSQL::AgoraNs() : FRastroNs) / 1e6;
  FRastro = nullptr;
}

void TDataSet::First() {
  if (FRecNo > 1 || (FEof && FRecNo > 0))
    throw EBancoDados("Dataset em fluxo não volta ao início; reexecute a consulta");
}

void TDataSet::Reexecutar(const TParams&) {
  throw EBancoDados("Este dataset não tem consulta de origem para reexecutar");
}

TField* TDataSet::FindField(std::string_view nome) {
  for (auto& f : FFields)
    if (MesmoNome(f->FieldName(), nome)) return f.get();
  return nullptr;
}

TField& TDataSet::FieldByName(std::string_view nome) {
  if (TField* f = FindField(nome)) return *f;
  throw EBancoDados(fmt::format("Campo não encontrado: {}", nome));
}

const TVariant& TDataSet::ValorCampo(int indice) const {
  if (FEof || indice < 0 || static_cast<size_t>(indice) >= FLinha.size()) return kNulo;
  return FLinha[static_cast<size_t>(indice)];
}

void TDataSet::DefinirValorCampo(int, TVariant) {
  throw EBancoDados("Dataset somente leitura: use um TnClientDataSet para editar");
}

void TDataSet::DefinirCampos(const std::vector<std::string>& nomes) {
  DefinirCampos(nomes, std::vector<TFieldType>(nomes.size(), TFieldType::ftUnknown));
}

void TDataSet::DefinirCampos(const std::vector<std::string>& nomes, const std::vector<TFieldType>& tipos) {
  bool iguais = nomes.size() == FFields.size();
  for (size_t i = 0; iguais && i < nomes.size(); ++i) iguais = FFields[i]->FieldName() == nomes[i];
  if (iguais) {
    for (size_t i = 0; i < nomes.size(); ++i) FFields[i]->FDataType = tipos.at(i);
  } else {
    FMapas.clear();
    FFields.clear();
    for (size_t i = 0; i < nomes.size(); ++i)
      FFields.push_back(std::make_unique<TField>(*this, static_cast<int>(i), nomes[i], tipos.at(i)));
  }
  FLinha.assign(nomes.size(), TVariant{});
}

void TDataSet::Abrir() {
  ++FCarregamentos;
  FRecNo = 0;
  FEof = true;
  const bool achou = BuscarProxima();
  if (FRastro && FRastroNs < 0) FRastroNs += TRastroSQL::AgoraNs();
  if (achou) {
    FEof = false;
    FRecNo = 1;
    DispararProgresso();
  } else {
    FLinha.assign(FLinha.size(), TVariant{});
    FecharRastro();
  }
}
