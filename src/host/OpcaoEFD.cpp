#include "host/OpcaoEFD.h"

#include <algorithm>
#include <charconv>

#include "host/Database.h"
#include "host/FisFuncoes.h"
#include "host/Host.h"
#include "host/LeituraCampos.h"
#include "host/Servicos.h"

using namespace NLeituraCampos;

namespace {

// A linha do estabelecimento ganha; sem ela, a do menor estabelecimento da empresa (a
// EFD-Contribuições é entregue pela empresa, e as opções da matriz valem para as filiais).
const char* const SqlOpcaoEFD =
    "SELECT O.CODIGOESTAB, O.DATAEFD, O.REGIMEAPU, C.OPTANTEEFD, C.INCTRIBUTARIA, "
    "C.ORDEMCOMPENSACAO, C.ORDEMCOMPCREDEFD, C.CODTABCOMPCRED, C.INDCREDAGRO, "
    "C.VALIDARORIGEMCOMPRET, C.FORMACONTROLERETIDOS, C.CONTROLADIFERIMENTO, "
    "C.GERACAOF500F525, C.RECEITAENQEXCLUSAOBC, C.INCIDENCIACST, C.PROPORCAORECCUM, "
    "C.CSTAJUSTECREDITO, C.ULTPERSLDSCPOSTENSIVA, C.CODIGOIMPOSTOPISNCUM, "
    "C.VARIACAOPISNCUM, C.CODIGOIMPOSTOPISCUM, C.VARIACAOPISCUM, C.CODIGOIMPOSTOCOFINSNCUM, "
    "C.VARIACAOCOFINSNCUM, C.CODIGOIMPOSTOCOFINSCUM, C.VARIACAOCOFINSCUM "
    "FROM OPCAOEFD O LEFT JOIN OPCAOEFDCOMPL C ON C.CODIGOEMPRESA = O.CODIGOEMPRESA "
    "AND C.CODIGOESTAB = O.CODIGOESTAB AND C.DATAEFD = O.DATAEFD "
    "WHERE O.CODIGOEMPRESA = :CODIGOEMPRESA AND O.DATAEFD <= :DATA "
    "ORDER BY CASE WHEN O.CODIGOESTAB = :CODIGOESTAB THEN 0 ELSE 1 END, O.CODIGOESTAB, "
    "O.DATAEFD DESC LIMIT 1";

// "1;2;3" (ou com vírgulas) -> passos; texto inválido é erro de cadastro.
std::vector<TOrdemComp> LerOrdemCompensacao(const std::string& ATexto, int AEmpresa) {
  std::vector<TOrdemComp> ordem;
  std::string item;
  auto fechar = [&]() {
    std::string t;
    for (char c : item)
      if (c != ' ') t += c;
    item.clear();
    if (t.empty()) return;
    int v = 0;
    auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (ec != std::errc() || p != t.data() + t.size())
      throw EEntradaInvalida("Ordem de compensação inválida na opção da EFD da empresa " +
                             std::to_string(AEmpresa) + ": \"" + ATexto + "\"");
    ordem.push_back(static_cast<TOrdemComp>(v));
  };
  for (char c : ATexto) {
    if (c == ';' || c == ',') fechar();
    else item += c;
  }
  fechar();
  return ordem;
}

}  // namespace

void TnUtilOpcaoEFD::Configurar(int ACodigoEmpresa, int ACodigoEstab, TDateTime AData) {
  SetCodigoEmpresa(ACodigoEmpresa);
  SetCodigoEstab(ACodigoEstab);
  SetData(AData);
}

int TnUtilOpcaoEFD::CodigoEstabDeTexto(const std::string& ATexto) {
  size_t i = ATexto.find_first_not_of(" \t");
  size_t f = ATexto.find_last_not_of(" \t");
  if (i == std::string::npos) return 1;
  std::string t = ATexto.substr(i, f - i + 1);
  int v = 0;
  auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (ec != std::errc() || p != t.data() + t.size()) return 1;
  return v;
}

const std::optional<TLinhaOpcaoEFD>& TnUtilOpcaoEFD::LinhaEmVigor() {
  auto chave = std::make_tuple(FCodigoEmpresa, FCodigoEstab, DataISO(FData));
  auto it = FCache.find(chave);
  if (it != FCache.end()) return it->second;

  std::optional<TLinhaOpcaoEFD> linha;
  auto ds = FHost.Database().Abrir(SqlOpcaoEFD, {TVariant(int64_t{FCodigoEmpresa}), VarDate(FData),
                                                 TVariant(int64_t{FCodigoEstab})});
  if (!ds->Eof()) {
    TLinhaOpcaoEFD l;  // colunas nulas do complemento ficam com o padrão da estrutura
    l.CodigoEstab = Inteiro(*ds, "CODIGOESTAB", 0);
    l.DataEFD = Data(*ds, "DATAEFD");
    l.RegimeApuracao = Inteiro(*ds, "REGIMEAPU", l.RegimeApuracao);
    l.OptanteEFD = Logico(*ds, "OPTANTEEFD", l.OptanteEFD);
    l.IncTributaria = Inteiro(*ds, "INCTRIBUTARIA", l.IncTributaria);
    std::string ordem = Texto(*ds, "ORDEMCOMPENSACAO");
    if (!ordem.empty()) l.OrdemCompensacao = LerOrdemCompensacao(ordem, FCodigoEmpresa);
    l.OrdemCompCredEFD = Inteiro(*ds, "ORDEMCOMPCREDEFD", l.OrdemCompCredEFD);
    l.CodTabCompCred = Inteiro(*ds, "CODTABCOMPCRED", l.CodTabCompCred);
    l.IndCredAgro = Logico(*ds, "INDCREDAGRO", l.IndCredAgro);
    l.ValidarOrigemCompRet = Logico(*ds, "VALIDARORIGEMCOMPRET", l.ValidarOrigemCompRet);
    l.FormaControleRetidos = Inteiro(*ds, "FORMACONTROLERETIDOS", l.FormaControleRetidos);
    l.ControlaDiferimento = Logico(*ds, "CONTROLADIFERIMENTO", l.ControlaDiferimento);
    l.GeracaoF500F525 = Logico(*ds, "GERACAOF500F525", l.GeracaoF500F525);
    l.ReceitaEnqExclusaoBC = Inteiro(*ds, "RECEITAENQEXCLUSAOBC", l.ReceitaEnqExclusaoBC);
    l.IncidenciaCST = Inteiro(*ds, "INCIDENCIACST", l.IncidenciaCST);
    l.ProporcaoRecCum = Inteiro(*ds, "PROPORCAORECCUM", l.ProporcaoRecCum);
    l.CSTAjusteCredito = Inteiro(*ds, "CSTAJUSTECREDITO", l.CSTAjusteCredito);
    l.UltimoPeriodoSldSCPNaOstensiva = Data(*ds, "ULTPERSLDSCPOSTENSIVA");
    l.CodigoImpostoPISNCum = Inteiro(*ds, "CODIGOIMPOSTOPISNCUM", l.CodigoImpostoPISNCum);
    l.VariacaoImpostoPISNCum = Inteiro(*ds, "VARIACAOPISNCUM", l.VariacaoImpostoPISNCum);
    l.CodigoImpostoPISCum = Inteiro(*ds, "CODIGOIMPOSTOPISCUM", l.CodigoImpostoPISCum);
    l.VariacaoImpostoPISCum = Inteiro(*ds, "VARIACAOPISCUM", l.VariacaoImpostoPISCum);
    l.CodigoImpostoCOFINSNCum = Inteiro(*ds, "CODIGOIMPOSTOCOFINSNCUM", l.CodigoImpostoCOFINSNCum);
    l.VariacaoImpostoCOFINSNCum = Inteiro(*ds, "VARIACAOCOFINSNCUM", l.VariacaoImpostoCOFINSNCum);
    l.CodigoImpostoCOFINSCum = Inteiro(*ds, "CODIGOIMPOSTOCOFINSCUM", l.CodigoImpostoCOFINSCum);
    l.VariacaoImpostoCOFINSCum = Inteiro(*ds, "VARIACAOCOFINSCUM", l.VariacaoImpostoCOFINSCum);
    linha = l;
  }
  return FCache.emplace(chave, std::move(linha)).first->second;
}

const TLinhaOpcaoEFD& TnUtilOpcaoEFD::Linha() {
  if (FCodigoEmpresa == 0)
    throw EOpcaoNaoCadastrada("Opções da EFD-Contribuições consultadas sem empresa definida.");
  const auto& l = LinhaEmVigor();
  if (!l)
    throw EOpcaoNaoCadastrada("Opções da EFD-Contribuições não cadastradas para a empresa " +
                              std::to_string(FCodigoEmpresa) + " (estabelecimento " +
                              std::to_string(FCodigoEstab) + ") em " +
                              FormatDateTime("dd/mm/yyyy", FData) + " (tabela OPCAOEFD).");
  return *l;
}

bool TnUtilOpcaoEFD::GetEhOptanteEFD() {
  if (FCodigoEmpresa == 0) return false;
  const auto& l = LinhaEmVigor();
  return l && l->OptanteEFD;
}

TDateTime TnUtilOpcaoEFD::GetDataEFD() { return Linha().DataEFD; }
int TnUtilOpcaoEFD::GetRegimeApuracao() { return Linha().RegimeApuracao; }
int TnUtilOpcaoEFD::GetIncTributaria() { return Linha().IncTributaria; }
std::vector<TOrdemComp> TnUtilOpcaoEFD::GetOrdemCompensacao() { return Linha().OrdemCompensacao; }
int TnUtilOpcaoEFD::GetOrdemCompCredEFD() { return Linha().OrdemCompCredEFD; }
int TnUtilOpcaoEFD::GetCodTabCompCred() { return Linha().CodTabCompCred; }
bool TnUtilOpcaoEFD::GetIndCredAgro() { return Linha().IndCredAgro; }
bool TnUtilOpcaoEFD::GetValidarOrigemCompRet() { return Linha().ValidarOrigemCompRet; }
int TnUtilOpcaoEFD::GetFormaControleRetidos() { return Linha().FormaControleRetidos; }
bool TnUtilOpcaoEFD::GetControlaDiferimento() { return Linha().ControlaDiferimento; }
bool TnUtilOpcaoEFD::GetGeracaoF500F525() { return Linha().GeracaoF500F525; }
int TnUtilOpcaoEFD::GetReceitaEnqExclusaoBC() { return Linha().ReceitaEnqExclusaoBC; }
int TnUtilOpcaoEFD::GetIncidenciaCST() { return Linha().IncidenciaCST; }
int TnUtilOpcaoEFD::GetProporcaoRecCum() { return Linha().ProporcaoRecCum; }
int TnUtilOpcaoEFD::GetCSTAjusteCredito() { return Linha().CSTAjusteCredito; }
int TnUtilOpcaoEFD::GetCodigoImpostoPISCum() { return Linha().CodigoImpostoPISCum; }
int TnUtilOpcaoEFD::GetVariacaoImpostoPISCum() { return Linha().VariacaoImpostoPISCum; }
int TnUtilOpcaoEFD::GetCodigoImpostoCOFINSCum() { return Linha().CodigoImpostoCOFINSCum; }
int TnUtilOpcaoEFD::GetVariacaoImpostoCOFINSCum() { return Linha().VariacaoImpostoCOFINSCum; }
int TnUtilOpcaoEFD::GetCodigoImpostoPISNCum() { return Linha().CodigoImpostoPISNCum; }
int TnUtilOpcaoEFD::GetVariacaoImpostoPISNCum() { return Linha().VariacaoImpostoPISNCum; }
int TnUtilOpcaoEFD::GetCodigoImpostoCOFINSNCum() { return Linha().CodigoImpostoCOFINSNCum; }
int TnUtilOpcaoEFD::GetVariacaoImpostoCOFINSNCum() { return Linha().VariacaoImpostoCOFINSNCum; }

TDateTime TnUtilOpcaoEFD::GetUltimoPeriodoApuradoComSldSCPNaOstensiva() {
  if (FCodigoEmpresa == 0) return 0;
  const auto& l = LinhaEmVigor();
  return l ? l->UltimoPeriodoSldSCPNaOstensiva : 0;
}

std::vector<int> TnUtilOpcaoEFD::EstabsSCP() {
  // O cadastro de estabelecimentos não tem datas de atividade: todo estabelecimento
  // marcado como SCP conta em qualquer período.
  auto ds = FHost.Database().Abrir(
      "SELECT CODIGOESTAB FROM ESTAB WHERE CODIGOEMPRESA = :CODIGOEMPRESA "
      "AND SOCIEDADECONTAPARTICIPACAO = '1' ORDER BY CODIGOESTAB",
      {TVariant(int64_t{FCodigoEmpresa})});
  std::vector<int> estabs;
  for (; !ds->Eof(); ds->Next()) estabs.push_back(static_cast<int>(ds->Fields(0).AsInteger()));
  return estabs;
}

bool TnUtilOpcaoEFD::GetTemEstabSCPAtivo(TDateTime, TDateTime) { return !EstabsSCP().empty(); }

std::string TnUtilOpcaoEFD::GetFiltroListaEstabSCP(TDateTime, TDateTime, const std::string& APrefixo) {
  std::string prefixo = APrefixo;
  if (!prefixo.empty() && prefixo.back() != '.') prefixo += '.';
  if (!prefixo.empty()) ValidarNomeColuna(prefixo + "CODIGOESTAB");
  std::vector<int> estabs = EstabsSCP();
  if (estabs.empty()) return "(1 = 0)";
  std::string lista;
  for (int e : estabs) lista += (lista.empty() ? "" : ", ") + std::to_string(e);
  return "(" + prefixo + "CODIGOESTAB IN (" + lista + "))";
}

TnUtilOpcaoEFD& ControleOpcaoEFD() { return THost::Atual().Servicos().OpcaoEFD(); }
