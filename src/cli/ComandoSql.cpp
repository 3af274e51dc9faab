// pisco sql: imprime o texto SQL de um registro dos blocos A, C, D, F, I, P e 1 com os seus
// valores, ou executa a consulta e imprime as linhas em fluxo (tabela de texto, CSV ou JSON).
#include <algorithm>
#include <cctype>
#include <functional>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "blocks/nArqRepositorioSPEDPisCofinsBlocoA_U.h"
#include "blocks/nArqRepositorioSPEDPisCofinsBlocoCMemoria_U.h"
#include "blocks/nArqRepositorioSPEDPisCofinsBlocoC_U.h"
#include "blocks/nArqRepositorioSPEDPisCofinsBlocoD_U.h"
#include "blocks/nArqRepositorioSPEDPisCofinsBlocoI_U.h"
#include "blocks/nArqRepositorioSPEDPisCofinsBlocoP_U.h"
#include "blocks/nArqRepositorioSPEDPisCofinsBloco1_U.h"
#include "host/LucroRealPresumido.h"
#include "blocks/nArqRepositorioSPEDPisCofinsBlocoFConsolidado_U.h"
#include "blocks/nArqRepositorioSPEDPisCofinsBlocoFDetalhado_U.h"
#include "cli/Comandos.h"
#include "host/Database.h"
#include "base/DateTime.h"
#include "base/Erros.h"
#include "host/Host.h"
#include "host/RastroSQL.h"
#include "host/Nutildb.h"
#include "host/ControlesFiscais.h"
#include "host/OpcaoEFD.h"

namespace {

struct TOpcoesSql {
  std::string Conexao;
  std::string Registro;
  int Empresa = 0;
  std::string Competencia;
  std::string Estab;
  std::string Movimento = "sai";
  bool Executar = false;
  std::string Formato = "texto";
  bool Memoria = false;   // bloco C: a gêmea em memória
  bool Listar = false;
  int Impressora = 1;     // C405, C481, C485 com --executar
  int64_t NFInicial = 0, NFFinal = 999999999;  // C381, C385
  bool RegimeCaixa = false;  // P (receita total) e 1900
  std::string Processos;     // 1010, 1011, 1020: números de processo (texto; vazio = todos)
  std::string RastroSQL;     // arquivo do rastro das consultas; vazio = sem rastro
};

// O que o host pede para um registro: o texto e os valores com que a consulta roda.
struct TConsulta {
  std::string SQL;
  TParams Valores;
  // Valores com que o carregador abre (os nulos do A170); vazio = os mesmos de Valores.
  TParams ValoresCarregador;
};

struct TContexto {
  TnParansBlocoA A;
  TnParansBlocoC C;
  nArqRepositorioSPEDPisCofinsBlocoCMemoria_U::TnParansBlocoC CM;
  TnParansBlocoD D;
  TnParansBlocoF F;
  TnParansBlocoI I;
  TnParansBlocoP P;
  TnParansBloco1 B1;
  bool RegimeCaixa = false;
  std::string Processos;
  const TnArqRepositorioSPEDPisCofinsBlocoF* RepoF = nullptr;
  bool Memoria = false;
  int Impressora = 1;
  int64_t NFInicial = 0, NFFinal = 999999999;
};

using TMontar = std::function<TConsulta(const TContexto&)>;

struct TRegistroSql {
  const char* Nome;
  TMontar Montar;
};

using RA = TnArqRepositorioSPEDPisCofinsBlocoA;
using RC = TnArqRepositorioSPEDPisCofinsBlocoC;
using RM = TnArqRepositorioSPEDPisCofinsBlocoCMemoria;
using RD = TnArqRepositorioSPEDPisCofinsBlocoD;
using RF = TnArqRepositorioSPEDPisCofinsBlocoF;

// Um registro do bloco C na classe escolhida (--memoria usa a gêmea). O tipo do vetor de
// valores do carregador diz como ele abre: dados, nulos, nulos com impressora, sem estabelecimento.
enum class TValoresC { vcEstab, vcNulo, vcImpressora, vcEmpresa, vcFaixaNF };

template <class R>
TConsulta ConsultaC(const typename R::TParans& p, const std::string& ASQL, TValoresC ATipo, bool ALCO,
                    const TContexto& c) {
  TParams v = R::GetParamsEstabData(p);
  if constexpr (R::Memoria)
    if (ALCO) v = RM::GetParamsEstabDataLCO(p);
  switch (ATipo) {
    case TValoresC::vcNulo: return {ASQL, v, R::GetParamsEstabDataNull(p)};
    case TValoresC::vcImpressora: {
      TParams r = v;
      r.emplace_back(int64_t{c.Impressora});
      return {ASQL, r, R::GetParamsEstabDataImpNull(p)};
    }
    case TValoresC::vcEmpresa: return {ASQL, R::GetParamsEmpData(p), {}};
    case TValoresC::vcFaixaNF: {
      v.emplace_back(c.NFInicial);
      v.emplace_back(c.NFFinal);
      return {ASQL, v, {}};
    }
    default: return {ASQL, v, {}};
  }
}

// Constrói pela classe do banco ou pela gêmea. A gêmea abre o C170 com os valores reais.
#define REG_C(NOME, GETSQL, TIPO, LCO)                                                                        \
  {NOME, [](const TContexto& c) {                                                                             \
     if (c.Memoria) {                                                                                         \
       TValoresC t = TIPO;                                                                                    \
       if (std::string(NOME) == "C170") t = TValoresC::vcEstab;                                               \
       return ConsultaC<RM>(c.CM, RM::GETSQL(c.CM), t, LCO, c);                                               \
     }                                                                                                        \
     return ConsultaC<RC>(c.C, RC::GETSQL(c.C), TIPO, LCO, c);                                                \
   }}

TConsulta ComD(std::string sql, const TnParansBlocoD& p, bool ANulo) {
  return {std::move(sql), RD::GetParamsEstabData(p), ANulo ? RD::GetParamsEstabDataNull(p) : TParams{}};
}
#define REG_D(NOME, GETSQL, NULO) \
  { NOME, [](const TContexto& c) { return ComD(RD::GETSQL(c.D), c.D, NULO); } }

using RI = TnArqRepositorioSPEDPisCofinsBlocoI;
using RP = TnArqRepositorioSPEDPisCofinsBlocoP;
using R1 = TnArqRepositorioSPEDPisCofinsBloco1;
TConsulta ComP(std::string sql, const TnParansBlocoP& p) { return {std::move(sql), RP::GetParamsEstabData(p), {}}; }
TConsulta Com1(std::string sql, const TnParansBloco1& p) { return {std::move(sql), R1::GetParamsEmpData(p), {}}; }

TConsulta ComA(std::string sql, const TnParansBlocoA& p) { return {std::move(sql), RA::GetParamsEstabData(p), {}}; }
TConsulta ComF(std::string sql, const TnParansBlocoF& p) { return {std::move(sql), RF::GetParamsEstabData(p), {}}; }

const std::vector<TRegistroSql>& Registros() {
  static const std::vector<TRegistroSql> r = {
      {"A100", [](const TContexto& c) { return ComA(RA::GetSqlA100(c.A), c.A); }},
      {"A100AUX", [](const TContexto& c) { return ComA(RA::GetSqlA100Aux(c.A), c.A); }},
      {"A110", [](const TContexto& c) { return ComA(RA::GetSqlA110(c.A), c.A); }},
      {"A111", [](const TContexto& c) { return ComA(RA::GetSqlA111(c.A), c.A); }},
      {"A120", [](const TContexto& c) { return ComA(RA::GetSqlA120(c.A), c.A); }},
      // O carregador do A170 abre com os valores nulos; o host roda com os reais.
      {"A170",
       [](const TContexto& c) {
         return TConsulta{RA::GetSQLA170(c.A), RA::GetParamsEstabData(c.A), RA::GetParamsEstabDataNull(c.A)};
       }},
      REG_C("C100", GetSqlC100, TValoresC::vcEstab, false),
      REG_C("C110", GetSqlC110, TValoresC::vcEstab, false),
      REG_C("C111", GetSqlC111, TValoresC::vcEstab, false),
      REG_C("C120", GetSqlC120, TValoresC::vcEstab, false),
      REG_C("C170", GetSqlC170, TValoresC::vcNulo, true),
      REG_C("C175", GetSqlC175, TValoresC::vcNulo, false),
      REG_C("C180", GetSqlC180, TValoresC::vcEstab, false),
      REG_C("C181_185", GetSqlC181_185, TValoresC::vcEstab, true),
      REG_C("C188", GetSqlC188, TValoresC::vcEstab, false),
      REG_C("C190", GetSqlC190, TValoresC::vcEstab, false),
      REG_C("C191_195", GetSqlC191_195, TValoresC::vcEstab, false),
      REG_C("C198", GetSqlC198, TValoresC::vcEstab, false),
      REG_C("C199", GetSqlC199, TValoresC::vcEstab, false),
      REG_C("C380", GetSqlC380, TValoresC::vcEstab, false),
      REG_C("C381", GetSqlC381, TValoresC::vcFaixaNF, false),
      REG_C("C385", GetSqlC385, TValoresC::vcFaixaNF, false),
      REG_C("C395", GetSqlC395, TValoresC::vcEstab, false),
      REG_C("C396", GetSqlC396, TValoresC::vcNulo, false),
      REG_C("C400", GetSqlC400, TValoresC::vcEstab, false),
      REG_C("C405", GetSqlC405, TValoresC::vcImpressora, false),
      REG_C("C481", GetSqlC481, TValoresC::vcImpressora, false),
      REG_C("C485", GetSqlC485, TValoresC::vcImpressora, false),
      REG_C("C489_499", GetSqlProcRefC489_499, TValoresC::vcEmpresa, false),
      REG_C("C490", GetSqlC490, TValoresC::vcEstab, false),
      REG_C("C491", GetSqlC491, TValoresC::vcNulo, false),
      REG_C("C495", GetSqlC495, TValoresC::vcNulo, false),
      REG_C("C500", GetSqlC500, TValoresC::vcEstab, false),
      REG_C("C501", GetSqlC501, TValoresC::vcNulo, false),
      REG_C("C505", GetSqlC505, TValoresC::vcNulo, false),
      REG_C("C509", GetSqlC509, TValoresC::vcEstab, false),
      REG_C("C600", GetSqlC600, TValoresC::vcEstab, false),
      REG_C("C601", GetSqlC601, TValoresC::vcEstab, false),
      REG_C("C605", GetSqlC605, TValoresC::vcEstab, false),
      REG_C("C609", GetSqlC609, TValoresC::vcEstab, false),
      REG_C("C860", GetSqlC860, TValoresC::vcEstab, false),
      REG_C("C870", GetSqlC870, TValoresC::vcEstab, false),
      REG_C("C880", GetSqlC880, TValoresC::vcEstab, false),
      REG_C("C890", GetSqlC890, TValoresC::vcEmpresa, false),
      REG_D("D100", GetSqlD100, false),
      REG_D("D101", GetSqlD101, true),
      REG_D("D105", GetSqlD105, true),
      REG_D("D111", GetSqlD111, true),
      REG_D("D200", GetSqlD200, false),
      REG_D("D201", GetSqlD201, true),
      REG_D("D205", GetSqlD205, true),
      REG_D("D209", GetSqlD209, true),
      REG_D("D300", GetSqlD300, false),
      REG_D("D309", GetSqlD309, true),
      REG_D("D350", GetSqlD350, false),
      REG_D("D500", GetSqlD500, false),
      REG_D("D501", GetSqlD501, true),
      REG_D("D505", GetSqlD505, true),
      REG_D("D509", GetSqlD509, true),
      REG_D("D600", GetSqlD600, false),
      REG_D("D601", GetSqlD601, true),
      REG_D("D605", GetSqlD605, true),
      REG_D("D609", GetSqlD609, true),
      {"I010", [](const TContexto& c) { return TConsulta{RI::GetSqlI010(c.I), RI::GetParams(c.I), {}}; }},
      {"I100", [](const TContexto& c) { return TConsulta{RI::GetSqlI100(c.I), RI::GetParams(c.I), {}}; }},
      {"I200_I300", [](const TContexto& c) { return TConsulta{RI::GetSqlI200_I300(c.I), RI::GetParams(c.I), {}}; }},
      {"P100", [](const TContexto& c) { return ComP(RP::GetSqlP100(c.P), c.P); }},
      // A partir de 2013 o P200 é montado em memória a partir dos totais por código de receita.
      {"P200",
       [](const TContexto& c) {
         if (c.P.DataFinal < EncodeDate(2013, 1, 1)) return ComP(RP::GetSqlP200(c.P), c.P);
         TParams v = RP::GetParamsEstabData(c.P);
         v.emplace_back(int64_t{ControleContribPatronal().GetCodigoImpostoTIC()});
         v.emplace_back(int64_t{ControleContribPatronal().GetVariacaoImpostoTIC()});
         return TConsulta{RP::GetSqlDebitosP200(c.P), v, {}};
       }},
      {"P210", [](const TContexto& c) { return ComP(RP::GetSqlP210(c.P), c.P); }},
      {"PTOTREC", [](const TContexto& c) { return ComP(RP::GetSqlTotRec(c.P, c.RegimeCaixa), c.P); }},
      {"1010",
       [](const TContexto& c) {
         return TConsulta{R1::GetSql1010_1020(c.B1, c.Processos), R1::GetParamsEmp(c.B1), {}};
       }},
      {"1011", [](const TContexto& c) { return Com1(R1::GetSql1011(c.B1, c.Processos), c.B1); }},
      {"1020",
       [](const TContexto& c) {
         return TConsulta{R1::GetSql1010_1020(c.B1, c.Processos), R1::GetParamsEmp(c.B1), {}};
       }},
      {"1050", [](const TContexto& c) { return Com1(R1::GetSql1050(c.B1), c.B1); }},
      {"1800", [](const TContexto& c) { return Com1(R1::GetSql1800(c.B1), c.B1); }},
      {"1900",
       [](const TContexto& c) {
         return Com1(R1::GetSql1900(c.B1, c.RegimeCaixa) + R1::GetSql1900NFCanc(c.B1), c.B1);
       }},
      {"F100", [](const TContexto& c) { return ComF(RF::GetSqlF100(c.F), c.F); }},
      {"OBSF100", [](const TContexto& c) { return ComF(RF::GetSqlOBSF100(c.F), c.F); }},
      {"F111", [](const TContexto& c) { return ComF(RF::GetSqlF111(c.F), c.F); }},
      {"F120", [](const TContexto& c) { return ComF(RF::GetSqlF120(c.F), c.F); }},
      {"F130", [](const TContexto& c) { return TConsulta{RF::GetSqlF130(c.F), RF::GetParamsF130(c.F), {}}; }},
      {"F150", [](const TContexto& c) { return TConsulta{RF::GetSqlF150(c.F), RF::GetParamsF150(c.F), {}}; }},
      {"F200", [](const TContexto& c) { return ComF(RF::GetSqlF200(c.F), c.F); }},
      {"F205", [](const TContexto& c) { return ComF(RF::GetSqlF205(c.F), c.F); }},
      {"F210", [](const TContexto& c) { return ComF(RF::GetSqlF210(c.F), c.F); }},
      {"F500", [](const TContexto& c) { return ComF(c.RepoF->GetSqlF500(c.F), c.F); }},
      {"F500REGCAIXA", [](const TContexto& c) { return ComF(RF::GetSqlF500RegCaixa(c.F), c.F); }},
      {"F509", [](const TContexto& c) { return ComF(RF::GetSqlF509(c.F), c.F); }},
      {"F510", [](const TContexto& c) { return ComF(RF::GetSqlF510(c.F), c.F); }},
      {"F519", [](const TContexto& c) { return ComF(RF::GetSqlF519(c.F), c.F); }},
      {"F525", [](const TContexto& c) { return ComF(c.RepoF->GetSqlF525(c.F), c.F); }},
      {"F525REGCAIXA", [](const TContexto& c) { return ComF(c.RepoF->GetSqlF525RegCaixa(c.F), c.F); }},
      {"F550", [](const TContexto& c) { return ComF(c.RepoF->GetSqlF550(c.F), c.F); }},
      {"F559", [](const TContexto& c) { return ComF(RF::GetSqlF559(c.F), c.F); }},
      {"F560", [](const TContexto& c) { return ComF(RF::GetSqlF560(c.F), c.F); }},
      {"F569", [](const TContexto& c) { return ComF(RF::GetSqlF569(c.F), c.F); }},
      {"F600", [](const TContexto& c) { return TConsulta{RF::GetSqlF600(c.F), RF::GetParamsF600(c.F), {}}; }},
      {"F700", [](const TContexto& c) { return ComF(RF::GetSqlF700(c.F), c.F); }},
      {"F800", [](const TContexto& c) { return ComF(RF::GetSqlF800(c.F), c.F); }},
  };
  return r;
}

std::string Maiusculas(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

const TRegistroSql* AcharRegistro(const std::string& ANome) {
  const std::string n = Maiusculas(ANome);
  for (const auto& r : Registros())
    if (n == r.Nome) return &r;
  return nullptr;
}

// Bloco de um registro pelo nome (OBSF100 é do bloco F).
char BlocoDe(const std::string& ANome) { return ANome.rfind("OBS", 0) == 0 ? ANome[3] : ANome[0]; }

std::string ListaRegistros() {
  std::string s;
  for (const auto& r : Registros()) s += (s.empty() ? "" : ", ") + std::string(r.Nome);
  return s;
}

// Uma linha por bloco, na ordem do arquivo.
void ImprimirLista(std::ostream& AOut) {
  for (char bloco : std::string("ACDFIP1")) {
    std::string linha;
    for (const auto& r : Registros())
      if (BlocoDe(r.Nome) == bloco) linha += (linha.empty() ? "" : ", ") + std::string(r.Nome);
    if (!linha.empty()) AOut << "Bloco " << bloco << ": " << linha << "\n";
  }
  AOut << "(--memoria usa a classe em memória nos registros do bloco C)\n";
}

// ------------------------------------------------------------------ saída

std::string ValorTexto(const TVariant& v) {
  if (std::holds_alternative<bool>(v)) return std::get<bool>(v) ? "1" : "0";
  return VarToStr(v);
}

nlohmann::json ValorJson(const TVariant& v) {
  struct V {
    nlohmann::json operator()(std::monostate) const { return nullptr; }
    nlohmann::json operator()(int64_t i) const { return i; }
    nlohmann::json operator()(double d) const { return d; }
    nlohmann::json operator()(const std::string& s) const { return s; }
    nlohmann::json operator()(const TVarDate& d) const { return DataISO(d.Valor); }
    nlohmann::json operator()(bool b) const { return b; }
  };
  return std::visit(V{}, v);
}

std::string TipoValor(const TVariant& v) {
  struct V {
    const char* operator()(std::monostate) const { return "nulo"; }
    const char* operator()(int64_t) const { return "inteiro"; }
    const char* operator()(double) const { return "número"; }
    const char* operator()(const std::string&) const { return "texto"; }
    const char* operator()(const TVarDate&) const { return "data"; }
    const char* operator()(bool) const { return "lógico"; }
  };
  return std::visit(V{}, v);
}

std::string CampoCSV(const std::string& s) {
  if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
  std::string r = "\"";
  for (char c : s) {
    if (c == '"') r += '"';
    r += c;
  }
  return r + "\"";
}

void ImprimirTexto(const TRegistroSql& AReg, const TConsulta& AConsulta, const std::string& AFormato,
                   std::ostream& AOut) {
  if (AFormato == "json") {
    nlohmann::json j;
    j["registro"] = AReg.Nome;
    j["sql"] = AConsulta.SQL;
    j["valores"] = nlohmann::json::array();
    for (const auto& v : AConsulta.Valores) j["valores"].push_back(ValorJson(v));
    if (!AConsulta.ValoresCarregador.empty()) {
      j["valores_carregador"] = nlohmann::json::array();
      for (const auto& v : AConsulta.ValoresCarregador) j["valores_carregador"].push_back(ValorJson(v));
    }
    AOut << j.dump(2) << "\n";
    return;
  }
  if (AFormato == "csv") {
    AOut << "posicao,tipo,valor\n";
    for (size_t i = 0; i < AConsulta.Valores.size(); ++i)
      AOut << i + 1 << "," << TipoValor(AConsulta.Valores[i]) << "," << CampoCSV(ValorTexto(AConsulta.Valores[i]))
           << "\n";
    return;
  }
  AOut << "-- " << AReg.Nome << "\n" << AConsulta.SQL << "\n-- valores (na ordem da primeira ocorrência de cada nome):\n";
  for (size_t i = 0; i < AConsulta.Valores.size(); ++i)
    AOut << "--   " << i + 1 << ": " << ValorTexto(AConsulta.Valores[i]) << " (" << TipoValor(AConsulta.Valores[i])
         << ")\n";
  if (!AConsulta.ValoresCarregador.empty())
    AOut << "-- o carregador abre com valores que não casam com linha nenhuma (só as colunas); "
            "--executar roda com os valores acima\n";
}

// Largura de exibição em caracteres (UTF-8: conta só os bytes que iniciam caractere).
size_t Largura(const std::string& s) {
  size_t n = 0;
  for (unsigned char c : s)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

// Nome da coluna em maiúsculas: o PostgreSQL devolve os nomes sem aspas em minúsculas, e a saída
// tem de ser a mesma nos dois bancos.
std::string NomeCampo(TDataSet& ADs, int AIndice) {
  std::string nome = ADs.Fields(AIndice).FieldName();
  for (char& c : nome)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return nome;
}

// Linhas em fluxo: nada além de um lote inicial (para as larguras da tabela) fica em memória.
int64_t ImprimirLinhas(TDataSet& ADs, const std::string& AFormato, std::ostream& AOut) {
  const int n = ADs.FieldCount();
  int64_t linhas = 0;
  if (AFormato == "csv") {
    for (int i = 0; i < n; ++i) AOut << (i ? "," : "") << CampoCSV(NomeCampo(ADs, i));
    AOut << "\n";
    for (; !ADs.Eof(); ADs.Next(), ++linhas) {
      for (int i = 0; i < n; ++i) AOut << (i ? "," : "") << CampoCSV(ValorTexto(ADs.Fields(i).Value()));
      AOut << "\n";
    }
    return linhas;
  }
  if (AFormato == "json") {
    AOut << "[";
    for (; !ADs.Eof(); ADs.Next(), ++linhas) {
      nlohmann::ordered_json o;
      for (int i = 0; i < n; ++i) o[NomeCampo(ADs, i)] = ValorJson(ADs.Fields(i).Value());
      AOut << (linhas ? ",\n " : "\n ") << o.dump();
    }
    AOut << (linhas ? "\n]\n" : "]\n");
    return linhas;
  }
  // Tabela: as larguras vêm do cabeçalho e das primeiras linhas; valores maiores só alargam a célula.
  constexpr size_t kLoteLarguras = 200;
  std::vector<size_t> larg(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) larg[static_cast<size_t>(i)] = Largura(NomeCampo(ADs, i));
  std::vector<std::vector<std::string>> lote;
  for (; !ADs.Eof() && lote.size() < kLoteLarguras; ADs.Next()) {
    std::vector<std::string> l;
    for (int i = 0; i < n; ++i) {
      l.push_back(ValorTexto(ADs.Fields(i).Value()));
      larg[static_cast<size_t>(i)] = std::max(larg[static_cast<size_t>(i)], Largura(l.back()));
    }
    lote.push_back(std::move(l));
  }
  auto linha = [&](const std::vector<std::string>& c) {
    for (size_t i = 0; i < c.size(); ++i) {
      AOut << (i ? " | " : "") << c[i];
      if (i + 1 < c.size()) AOut << std::string(larg[i] > Largura(c[i]) ? larg[i] - Largura(c[i]) : 0, ' ');
    }
    AOut << "\n";
  };
  std::vector<std::string> cab;
  for (int i = 0; i < n; ++i) cab.push_back(NomeCampo(ADs, i));
  linha(cab);
  for (size_t i = 0; i < larg.size(); ++i) AOut << (i ? "-+-" : "") << std::string(larg[i], '-');
  AOut << "\n";
  for (const auto& l : lote) {
    linha(l);
    ++linhas;
  }
  lote.clear();
  lote.shrink_to_fit();
  std::vector<std::string> l(static_cast<size_t>(n));
  for (; !ADs.Eof(); ADs.Next(), ++linhas) {
    for (int i = 0; i < n; ++i) l[static_cast<size_t>(i)] = ValorTexto(ADs.Fields(i).Value());
    linha(l);
  }
  AOut << "(" << linhas << (linhas == 1 ? " linha)\n" : " linhas)\n");
  return linhas;
}

void ExecutarNoHost(const TOpcoesSql& o, const TRegistroSql& ARegistro, TDateTime inicio, TDateTime fim,
                    TRastroSQL* ARastro);

void Executar(const TOpcoesSql& o) {
  if (o.Listar) {
    ImprimirLista(std::cout);
    return;
  }
  const char* faltando = o.Conexao.empty()       ? "--db"
                         : o.Registro.empty()    ? "--registro"
                         : o.Empresa == 0        ? "--empresa"
                         : o.Competencia.empty() ? "--competencia"
                                                 : nullptr;
  if (faltando) throw CLI::RequiredError(std::string(faltando) + " é obrigatório (ou use --listar)");
  const TRegistroSql* reg = AcharRegistro(o.Registro);
  TDateTime inicio = 0, fim = 0;
  CompetenciaParaPeriodo(o.Competencia, inicio, fim);

  // O rastro vive mais que o host: as consultas guardadas no cache só se fecham com ele.
  TRastroSQL rastro;
  ComRastro(o.RastroSQL, rastro, [&] { ExecutarNoHost(o, *reg, inicio, fim, o.RastroSQL.empty() ? nullptr : &rastro); });
}

void ExecutarNoHost(const TOpcoesSql& o, const TRegistroSql& ARegistro, TDateTime inicio, TDateTime fim,
                    TRastroSQL* ARastro) {
  const TRegistroSql* reg = &ARegistro;
  THost host(TDatabase::Conectar(o.Conexao));
  host.Database().DefinirRastro(ARastro);
  THostScope escopo(host);

  TContexto c;
  const int movimento = o.Movimento == "ent" ? 0 : 1;
  c.A = TnParansBlocoA{o.Empresa, o.Estab, inicio, fim, false, movimento, false};
  c.F = TnParansBlocoF{o.Empresa, o.Estab, inicio, fim, false, static_cast<int16_t>(movimento), false};
  // Bloco C com os modelos eletrônicos (IndApuracao 2): é o que a EFD-Contribuições pede.
  c.C = TnParansBlocoC{o.Empresa, o.Estab, inicio, fim, false, movimento, 2, false};
  c.CM = {o.Empresa, o.Estab, inicio, fim, false, movimento, 2};
  c.D = TnParansBlocoD{o.Empresa, o.Estab, inicio, fim, false, false};
  c.P = TnParansBlocoP{o.Empresa, o.Estab, inicio, fim, false, static_cast<int16_t>(movimento)};
  c.B1 = TnParansBloco1{o.Empresa, o.Estab, inicio, fim};
  c.RegimeCaixa = o.RegimeCaixa;
  c.Processos = o.Processos;
  c.Memoria = o.Memoria;
  c.Impressora = o.Impressora;
  c.NFInicial = o.NFInicial;
  c.NFFinal = o.NFFinal;
  // As opções da EFD valem para a empresa, o estabelecimento e o início do período; a
  // geração consolidada de F500/F525/F550 é escolha da empresa.
  ControleOpcaoEFD().Configurar(o.Empresa, TnUtilOpcaoEFD::CodigoEstabDeTexto(o.Estab), inicio);
  // Bloco I: um estabelecimento (número) e o regime da empresa na data.
  const int estabI = TnUtilOpcaoEFD::CodigoEstabDeTexto(o.Estab);
  ControleContribPatronal().SetCodigoEmpresa(o.Empresa);
  ControleContribPatronal().SetData(fim);
  ControleLucroReal().SetCodigoEmpresa(o.Empresa);
  c.I = TnParansBlocoI{o.Empresa, estabI, inicio, fim, ControleOpcaoEFD().GetEhOptanteEFD(),
                       ControleLucroReal().ApuraLucroReal(inicio)};
  const TnArqRepositorioSPEDPisCofinsBlocoFDetalhado detalhado;
  const TnArqRepositorioSPEDPisCofinsBlocoFConsolidado consolidado;
  const bool ehF500Familia = std::string(reg->Nome).rfind("F5", 0) == 0;
  c.RepoF = &detalhado;
  if (ehF500Familia && ControleOpcaoEFD().GetGeracaoF500F525()) c.RepoF = &consolidado;

  const TConsulta consulta = reg->Montar(c);
  if (!o.Executar) {
    ImprimirTexto(*reg, consulta, o.Formato, std::cout);
    return;
  }
  // Em fluxo, em lotes: a memória não cresce com o número de linhas.
  constexpr int kLote = 2000;
  auto ds = Nutildb::ExecutarSQL(consulta.SQL, consulta.Valores, false, true, kLote);
  ImprimirLinhas(*ds, o.Formato, std::cout);
  std::cout.flush();
}

}  // namespace

void RegistrarComandoSql(CLI::App& app) {
  auto* cmd =
      app.add_subcommand("sql", "Imprime (ou executa) a consulta de um registro dos blocos A, C, D, F, I, P e 1");
  auto o = std::make_shared<TOpcoesSql>();
  cmd->add_option("--db", o->Conexao, "Banco: arquivo SQLite ou postgresql://usuario@host/base");
  cmd->add_option("--registro", o->Registro, "Registro (veja --listar)")
      ->check(CLI::Validator(
          [](std::string& v) {
            return AcharRegistro(v) ? std::string() : "registro desconhecido: " + v + " (use " + ListaRegistros() + ")";
          },
          "REG"));
  cmd->add_option("--empresa", o->Empresa, "Código da empresa");
  cmd->add_option("--competencia", o->Competencia, "Mês de apuração, AAAA-MM")
      ->check(CLI::Validator(
          [](std::string& v) {
            TDateTime a, b;
            try {
              CompetenciaParaPeriodo(v, a, b);
            } catch (const EPisco&) {
              return "competência inválida: " + v + " (use AAAA-MM)";
            }
            return std::string();
          },
          "AAAA-MM"));
  cmd->add_option("--estab", o->Estab,
                  "Estabelecimento: um código ou uma lista/faixas (\"1,3-5\"); vazio = todos")
      ->check(CLI::Validator(
          [](std::string& v) {
            // Só números, faixas e separadores: o texto vira condição SQL depois.
            for (char ch : v)
              if (!std::isdigit(static_cast<unsigned char>(ch)) && ch != ',' && ch != ';' && ch != '-' && ch != ' ')
                return "estabelecimento inválido: \"" + v + "\" (use números, faixas a-b, separados por ',' ou ';')";
            return std::string();
          },
          "TEXTO"));
  cmd->add_option("--movimento", o->Movimento, "Lado dos lançamentos: ent (entradas) ou sai (saídas); padrão sai")
      ->check(CLI::IsMember({"ent", "sai"}));
  cmd->add_flag("--executar", o->Executar, "Executa a consulta e imprime as linhas em vez do texto");
  cmd->add_option("--formato", o->Formato, "Saída: texto, csv ou json; padrão texto")
      ->check(CLI::IsMember({"texto", "csv", "json"}));
  cmd->add_flag("--listar", o->Listar, "Lista os registros conhecidos, por bloco");
  cmd->add_flag("--memoria", o->Memoria, "Bloco C: usa a classe em memória");
  cmd->add_flag("--caixa", o->RegimeCaixa, "PTOTREC e 1900: regime de caixa (data do recebimento)");
  cmd->add_option("--processos", o->Processos, "1010, 1011, 1020: números de processo separados por vírgula");
  cmd->add_option("--impressora", o->Impressora, "C405, C481, C485: impressora fiscal com --executar; padrão 1");
  cmd->add_option("--nf-inicial", o->NFInicial, "C381, C385: primeira nota da faixa; padrão 0");
  cmd->add_option("--nf-final", o->NFFinal, "C381, C385: última nota da faixa; padrão 999999999");
  cmd->add_option("--rastro-sql", o->RastroSQL,
                  "Grava em ARQUIVO uma linha JSON por consulta emitida (texto, parâmetros, linhas, ms)");
  cmd->callback([o] { Executar(*o); });
}
