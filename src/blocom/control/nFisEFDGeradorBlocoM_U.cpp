#include "blocom/control/nFisEFDGeradorBlocoM_U.h"

#include <iostream>

#include <fmt/format.h>

#include <exception>

#include "blocom/control/nFisEFDControleBlocoM_U.h"
#include "base/Erros.h"
#include "host/Nutilinclusao.h"
#include "host/FisFuncoes.h"
#include "base/Nutil.h"
#include "host/Nutildb.h"

TnFisEFDGeradorBlocoM::TnFisEFDGeradorBlocoM(TnFisEFDControleBlocoM& AControle, int16_t AImposto)
    : FControleBlocoM(&AControle), FImposto(AImposto) {}

TnFisEFDGeradorBlocoM::~TnFisEFDGeradorBlocoM() = default;

void TnFisEFDGeradorBlocoM::AfterConstruction() { CriarGeradoresFilhos(); }

void TnFisEFDGeradorBlocoM::AddGeradorFilho(std::unique_ptr<TnFisEFDGeradorBlocoM> AFilho) {
  FLstRegFilhoView.push_back(AFilho.get());
  FLstRegFilho.push_back(std::move(AFilho));
}

void TnFisEFDGeradorBlocoM::ProcessarRegistro() {
  try {
    try {
      AntesCarregarDados();
      CarregarDados();
    } catch (const std::exception& e) {
      // Só os passos do próprio gerador são embrulhados: o erro de um filho chega como ele o deu.
      throw EPisco("Erro ao tentar carregar dados do registro " + GetNomeRegistro() + ": " + e.what());
    }
    DepoisCarregarDados();
    CarregarDadosFilhos();
    DepoisCarregarDadosFilhos();
  } catch (...) {
    try {
      DestruirObjetos();
    } catch (...) {
      // O erro original é o que importa ao chamador.
    }
    throw;
  }
  DestruirObjetos();
}

void TnFisEFDGeradorBlocoM::CarregarDadosFilhos() {
  for (auto* filho : FLstRegFilhoView) filho->ProcessarRegistro();
}

void TnFisEFDGeradorBlocoM::DestruirObjetos() {
  auto filhos = std::move(FLstRegFilho);
  FLstRegFilhoView.clear();
  std::string erro;
  for (auto& filho : filhos) {
    const std::string nome = filho->GetNomeRegistro();
    try {
      filho->Finalizar();
    } catch (const std::exception& e) {
      if (erro.empty()) erro = "Erro ao tentar destruir o gerador do registro " + nome + ": " + e.what();
    }
    filho.reset();
  }
  if (!erro.empty()) throw EPisco(erro);
}

int TnFisEFDGeradorBlocoM::GetTipoApuracao(int AValor) {
  if (AValor == 62 || AValor == 63) return AValor;
  return 0;
}

std::string TnFisEFDGeradorBlocoM::MontarChave(int64_t AValor) {
  return AValor < 0 ? fmt::format("-{:05}", -AValor) : fmt::format("{:05}", AValor);
}

int32_t TnFisEFDGeradorBlocoM::GetCodigoEmpresa() const { return FControleBlocoM->GetConfigBlocoM().CodigoEmpresa; }
std::string TnFisEFDGeradorBlocoM::GetCodigoEstab() const { return FControleBlocoM->GetConfigBlocoM().CodigoEstab; }
TDateTime TnFisEFDGeradorBlocoM::GetDataInicial() const { return FControleBlocoM->GetConfigBlocoM().DataInicial; }
TDateTime TnFisEFDGeradorBlocoM::GetDataFinal() const { return FControleBlocoM->GetConfigBlocoM().DataFinal; }
bool TnFisEFDGeradorBlocoM::GetRegimeCaixa() const { return FControleBlocoM->GetConfigBlocoM().RegimeCaixa; }
TModoGeracao TnFisEFDGeradorBlocoM::GetModoGeracao() const { return FControleBlocoM->GetConfigBlocoM().ModoGeracao; }
const TConfigBlocoM& TnFisEFDGeradorBlocoM::GetConfigBlocoM() const { return FControleBlocoM->GetConfigBlocoM(); }

// Quem o aviso descreve: a apuração de uma SCP ou de um estabelecimento roda à parte.
std::string TnFisEFDGeradorBlocoM::Onde() const {
  const std::string empresa = "empresa " + std::to_string(GetCodigoEmpresa());
  switch (GetModoGeracao()) {
    case TModoGeracao::mgSCP: return empresa + ", SCP " + GetCodigoEstab();
    case TModoGeracao::mgFilial: return empresa + ", estabelecimento " + GetCodigoEstab();
    default: return empresa;
  }
}

std::string TnFisEFDGeradorBlocoM::OndePeriodo() const {
  return Onde() + ", " + FormatDateTime("mm/yyyy", GetDataInicial());
}

void TnFisEFDGeradorBlocoM::Avisar(const std::string& AMensagem) const {
  if (const auto& aviso = GetConfigBlocoM().DoAviso)
    aviso(AMensagem);
  else
    std::cerr << "pisco: aviso: " << AMensagem << std::endl;
}

TnFisEFDControleCredito& TnFisEFDGeradorBlocoM::GetControleCredito() { return *FControleBlocoM->GetControleCredito(); }
TnFisEFDExtraApuracao& TnFisEFDGeradorBlocoM::GetExtraApuracao() { return *FControleBlocoM->GetExtraApuracao(); }

std::string TnFisEFDGeradorBlocoM::GetTabelaTotalEFD(const std::string& ATabela) const {
  return GetModoGeracao() == TModoGeracao::mgEmpresa ? ATabela : ATabela + "ESTAB";
}

std::string TnFisEFDGeradorBlocoM::GetCondEstabTotalEFD() const {
  return GetModoGeracao() == TModoGeracao::mgEmpresa ? std::string() : std::string(" AND CODIGOESTAB = :CODIGOESTAB ");
}

TParams TnFisEFDGeradorBlocoM::GetParamsTotalEFD() const {
  const auto& c = GetConfigBlocoM();
  TParams p{TVariant{static_cast<int64_t>(c.CodigoEmpresa)}};
  if (c.ModoGeracao != TModoGeracao::mgEmpresa) p.emplace_back(static_cast<int64_t>(EstabComoInteiro(c.CodigoEstab)));
  p.push_back(VarDate(c.DataInicial));
  p.push_back(VarDate(c.DataFinal));
  p.emplace_back(static_cast<int64_t>(FImposto));
  return p;
}

std::string TnFisEFDGeradorBlocoM::GetSqlTotalEFD(const std::string& ACampos, const std::string& ATabela,
                                                  const std::string& AComplemento) const {
  return " SELECT " + ACampos + " FROM " + GetTabelaTotalEFD(ATabela) + " WHERE CODIGOEMPRESA = :CODIGOEMPRESA " +
         GetCondEstabTotalEFD() + " AND DATATOTAL BETWEEN :DATAINICIAL AND :DATAFINAL " +
         " AND TIPOIMPOSTO = :TIPOIMPOSTO " + AComplemento;
}

std::unique_ptr<TDataSet> TnFisEFDGeradorBlocoM::ExecutarSQLInt(const std::string& ASQL, const TParams& AValores,
                                                                bool AFlag1, bool AFlag2, int ANumero) {
  auto ds = Nutildb::ExecutarSQL(ASQL, AValores, AFlag1, AFlag2, ANumero, "", nullptr, true);
  if (FControleBlocoM->GetConfigBlocoM().DoIncProgresso) ds->DoIncProgresso = FControleBlocoM->GetConfigBlocoM().DoIncProgresso;
  return ds;
}

std::string TnFisEFDGeradorBlocoM::GetFilterEstab(const std::string& APrefixo) const {
  std::string estab = GetCodigoEstab();
  const auto ini = estab.find_first_not_of(" \t");
  const auto fim = estab.find_last_not_of(" \t");
  estab = ini == std::string::npos ? std::string() : estab.substr(ini, fim - ini + 1);
  return FilterInterval({APrefixo + "CODIGOESTAB"}, estab, {tiExInclusao}, true, kFiltroNumero);
}

TParams TnFisEFDGeradorBlocoM::GetFiltroEmpresaPeriodo() const {
  const auto& c = FControleBlocoM->GetConfigBlocoM();
  return {TVariant{static_cast<int64_t>(c.CodigoEmpresa)}, VarDate(c.DataInicial), VarDate(c.DataFinal)};
}

// --- proporção ---

int TnFisEFDGeradorBlocoM::NormalizarCampoProporcao(int ACampo) {
  switch (ACampo) {
    case 0: return 1;
    case 2: return 3;
    case 4: return 5;
    case 6: return 7;
    default: return ACampo;
  }
}

double TnFisEFDGeradorBlocoM::GetProporcao2(int ACst, int ACampo) {
  return FControleBlocoM->GetValorCreditoCst(ACst, NormalizarCampoProporcao(ACampo));
}

double TnFisEFDGeradorBlocoM::GetProporcao(int ACst, int ACampo) { return GetProporcao2(ACst, ACampo) / 100.0; }

double TnFisEFDGeradorBlocoM::GetProporcao(int ACst) {
  if (ACst == 50 || ACst == 60) return GetProporcao(ACst, 1);
  if (ACst == 51 || ACst == 61) return GetProporcao(ACst, 5);
  if (ACst == 52 || ACst == 62) return GetProporcao(ACst, 7);
  return 0;
}

int TnFisEFDGeradorBlocoM::CampoPorTexto(const std::string& ATexto) {
  const char c = ATexto.empty() ? '\0' : ATexto[0];
  if (c == '1') return 1;
  if (c == '2') return 5;
  if (c == '3') return 7;
  return 3;
}

double TnFisEFDGeradorBlocoM::GetProporcao(int ACst, const std::string& ATexto) {
  return GetProporcao(ACst, CampoPorTexto(ATexto));
}

double TnFisEFDGeradorBlocoM::GetProporcao2(int ACst, const std::string& ATexto) {
  return GetProporcao2(ACst, CampoPorTexto(ATexto));
}

// --- código do tipo de crédito ---

bool TnFisEFDGeradorBlocoM::EhAliqBasica(double AAliquota) {
  // Comparação exata, sem arredondar: 1.6500001 não é básica.
  return AAliquota == 0.65 || AAliquota == 1.65 || AAliquota == 3.0 || AAliquota == 7.6;
}

std::string TnFisEFDGeradorBlocoM::GetTipoCreditoRegime(int ACst) {
  if (ACst == 50 || ACst == 60) return "1";
  if (ACst == 51 || ACst == 61) return "2";
  if (ACst == 52 || ACst == 62) return "3";
  return "1";
}

namespace {
int PrimeiroDigito(const std::string& ACfop) {
  if (ACfop.empty() || ACfop[0] < '0' || ACfop[0] > '9') return 0;
  return ACfop[0] - '0';
}

int NumeroOuZero(const std::string& ATexto) {
  if (ATexto.empty()) return 0;
  int v = 0;
  for (char c : ATexto) {
    if (c < '0' || c > '9') return 0;
    v = v * 10 + (c - '0');
  }
  return v;
}
}  // namespace

std::string TnFisEFDGeradorBlocoM::GetTipoCreditoAliquota(const std::string& ACfop, const std::string& ATabela,
                                                          int ACst, double AAliquota, int ADaconTipoReceita) {
  using Nutil::RoundValor;
  const int cfop1 = PrimeiroDigito(ACfop);
  if (ADaconTipoReceita == 10) return "03";
  if (ATabela == "4.3.07.13") {
    const double a4 = RoundValor(AAliquota, 4), a2 = RoundValor(AAliquota, 2);
    if (a4 != 1.65 && a4 != 7.6 && a2 != 1.65 && a2 != 7.6) return cfop1 == 3 ? "08" : "07";
  }
  if (ATabela == "4.3.07.14" && (RoundValor(AAliquota, 4) == 1.2375 || RoundValor(AAliquota, 2) == 5.7)) return "07";
  if (ACst >= 60 && ACst <= 66) return "06";
  if (ATabela == "4.3.07.18") return "04";
  if (cfop1 == 3) return "08";
  if (!EhAliqBasica(AAliquota) && AAliquota > 0) return "02";
  if (cfop1 == 1 || cfop1 == 2) return "01";
  const int n = NumeroOuZero(ATabela.size() >= 6 ? ATabela.substr(4, 2) : std::string());
  if (n == 7) {
    const int m = NumeroOuZero(TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(ATabela));
    if (m >= 1 && m <= 14) return "01";
    if (m == 15 || m == 16) return "09";
    if (m == 18) return "04";
    return "01";
  }
  if (n == 9) return "06";
  return "01";
}

std::string TnFisEFDGeradorBlocoM::GetTipoCreditoMestre(int ACst, const std::string& ATabela, double AAliquota,
                                                        const std::string& ACfop, int ADaconTipoReceita) {
  // append em vez de "a + b" com dois temporários: o GCC 12 em -O3 acusa -Wrestrict falso no
  // insert que o operator+ usa.
  std::string tipo = GetTipoCreditoRegime(ACst);
  tipo.append(GetTipoCreditoAliquota(ACfop, ATabela, ACst, AAliquota, ADaconTipoReceita));
  return tipo;
}

std::string TnFisEFDGeradorBlocoM::GetTipoCreditoReceita(const std::string& ACodigo, int ACampo) {
  std::string regime = "1";
  if (ACampo == 4) regime = "2";
  else if (ACampo == 6) regime = "3";
  return regime + (ACodigo.size() >= 2 ? ACodigo.substr(ACodigo.size() - 2) : ACodigo);
}
