#include "blocom/control/nFisRepositorioEFDBlocoM_U.h"

#include "blocom/control/nFisEFDGeradorBlocoMConfig_U.h"
#include "base/Erros.h"
#include "host/FieldMapper.h"
#include "host/LctoFisTmp.h"
#include "host/Nutildb.h"
#include "host/OpcaoEFD.h"

TnFisRepositorioEFDBlocoM::TnFisRepositorioEFDBlocoM(TFormaCarregarProporcao AForma) : FFormaCarregarProporcao(AForma) {}

TnFisRepositorioEFDBlocoM::~TnFisRepositorioEFDBlocoM() {
  DestruirGeradores();
  FControleBlocoM.reset();
}

std::unique_ptr<TMapaAberturaBloco> TnFisRepositorioEFDBlocoM::CarregarDadosBlocoM(const TConfigBlocoM& AConfig) {
  FConfigBlocoM = AConfig;
  try {
    AntesCarregarDados();
    CarregarDadosBlocoMSCP();
    CarregarRegistros();
  } catch (...) {
    DestruirGeradores();
    FAberturaBloco.reset();
    FTotal.reset();
    throw;
  }
  DepoisCarregarDados();
  // O total fica com o repositório: o mapa é entregue ao chamador, que pode liberá-lo antes.
  FTotal = std::make_unique<TM001AberturaBloco>();
  for (const auto& [tipo, m001] : *FAberturaBloco) FTotal->Totalizar(*m001);
  return std::move(FAberturaBloco);
}

TM001AberturaBloco& TnFisRepositorioEFDBlocoM::CarregarDadosBlocoMTotal(const TConfigBlocoM& AConfig) {
  FMapaTotal = CarregarDadosBlocoM(AConfig);
  PosicionarOpcaoEFD();
  const TTipoApuracao tipo = ControleOpcaoEFD().GetEhOptanteEFD() ? TTipoApuracao::taEFD : TTipoApuracao::taNormal;
  auto pos = FMapaTotal->find(tipo);
  if (pos == FMapaTotal->end())
    throw EItemNaoEncontrado("Item não encontrado: " + std::to_string(static_cast<int>(tipo)));
  return *pos->second;
}

std::unique_ptr<TM001AberturaBloco> TnFisRepositorioEFDBlocoM::TotalizarBlocoM() const {
  auto total = std::make_unique<TM001AberturaBloco>();
  if (FTotal) total->Totalizar(*FTotal);
  return total;
}

const std::vector<std::unique_ptr<TSCP>>& TnFisRepositorioEFDBlocoM::GetListaApuracaoSCP() const {
  static const std::vector<std::unique_ptr<TSCP>> kVazia;
  return FControleBlocoM ? FControleBlocoM->FListaSCP : kVazia;
}

TnFisEFDControleCredito* TnFisRepositorioEFDBlocoM::GetControleCredito() const {
  return FControleBlocoM ? FControleBlocoM->GetControleCredito() : nullptr;
}

TnFisProporcaoCreditos* TnFisRepositorioEFDBlocoM::GetProporcaoCredito() const {
  return FControleBlocoM ? FControleBlocoM->GetProporcaoCredito() : nullptr;
}

TnFisEFDExtraApuracao* TnFisRepositorioEFDBlocoM::GetExtraApuracao() const {
  return FControleBlocoM ? FControleBlocoM->GetExtraApuracao() : nullptr;
}

bool TnFisRepositorioEFDBlocoM::GetDeveProcessarCreditos() const {
  return FControleBlocoM && FControleBlocoM->FDeveProcessarCreditos;
}

void TnFisRepositorioEFDBlocoM::PosicionarOpcaoEFD() const {
  ControleOpcaoEFD().Configurar(FConfigBlocoM.CodigoEmpresa, EstabComoInteiro(FConfigBlocoM.CodigoEstab),
                                FConfigBlocoM.DataInicial);
}

void TnFisRepositorioEFDBlocoM::AntesCarregarDados() {
  FAberturaBloco = std::make_unique<TMapaAberturaBloco>();
  ConfigurarControleBlocoM();
  FControleBlocoM->CarregarUtilitarios();
  CriarGeradores();
}

void TnFisRepositorioEFDBlocoM::ConfigurarControleBlocoM() {
  if (!FControleBlocoM) FControleBlocoM = std::make_unique<TnFisEFDControleBlocoM>();
  FControleBlocoM->FLstRegistroM001 = FAberturaBloco.get();
  FControleBlocoM->FConfigBlocoM = FConfigBlocoM;
  FControleBlocoM->FFormaCarregarProporcao = FFormaCarregarProporcao;
}

void TnFisRepositorioEFDBlocoM::DepoisCarregarDados() { DestruirGeradores(); }

void TnFisRepositorioEFDBlocoM::DestruirGeradores() {
  FGeradorM100.reset();
  FGeradorM200.reset();
  FGeradorM350.reset();
  FGeradorM400.reset();
  FGeradorM500.reset();
  FGeradorM600.reset();
  FGeradorM800.reset();
}

namespace {
struct TMapEstabSCP : TRowMap {
  PISCO_CAMPO(CODIGOESTAB);
  PISCO_CAMPO(INSCRICAOSCP);
};
}  // namespace

void TnFisRepositorioEFDBlocoM::CarregarDadosBlocoMSCP() {
  if (FConfigBlocoM.ModoGeracao != TModoGeracao::mgEmpresa) return;
  auto ds = Nutildb::ExecutarSQL(
      " SELECT CODIGOESTAB,  INSCRICAOSCP  FROM ESTAB  WHERE CODIGOEMPRESA = :CODIGOEMPRESA  AND "
      "SOCIEDADECONTAPARTICIPACAO = '1'  ORDER BY CODIGOEMPRESA, CODIGOESTAB ",
      {TVariant{static_cast<int64_t>(FConfigBlocoM.CodigoEmpresa)}}, true, false, 10, "", nullptr, true);
  if (ds->Eof()) {
    Nutildb::DestruirSQL(ds);
    return;
  }
  TMapEstabSCP map;
  FieldMapper().MapearFields(*ds, map);
  auto repositorio = CriarMesmaClasse();
  TConfigBlocoM copia = FConfigBlocoM;
  copia.ModoGeracao = TModoGeracao::mgSCP;
  for (; !ds->Eof(); ds->Next()) {
    copia.CodigoEstab = map.CODIGOESTAB.AsString();
    auto resultado = repositorio->CarregarDadosBlocoM(copia);
    FControleBlocoM->FListaSCP.push_back(std::make_unique<TSCP>(map.INSCRICAOSCP.AsString(), std::move(resultado)));
  }
  repositorio.reset();
  Nutildb::DestruirSQL(ds);
  // A sub-execução reposicionou as opções no estabelecimento da SCP.
  PosicionarOpcaoEFD();
  FControleBlocoM->FConfigBlocoM = FConfigBlocoM;
}

void TnFisRepositorioEFDBlocoM::CarregarRegistros() {
  // A tabela temporária de devoluções é limpa também quando um gerador falha.
  TnGuardaTempDevolucao devolucoes(FConfigBlocoM.CodigoEmpresa, FConfigBlocoM.CodigoEstab, FConfigBlocoM.DataInicial,
                                   FConfigBlocoM.DataFinal, FConfigBlocoM.RegimeCaixa);
  const bool creditos = FControleBlocoM->FDeveProcessarCreditos;
  auto processar = [](std::unique_ptr<TnFisEFDGeradorBlocoM>& g) {
    if (g) g->ProcessarRegistro();
  };
  if (creditos) processar(FGeradorM100);
  processar(FGeradorM200);
  processar(FGeradorM350);
  processar(FGeradorM400);
  if (creditos) processar(FGeradorM500);
  processar(FGeradorM600);
  processar(FGeradorM800);
  devolucoes.Liberar();
}
