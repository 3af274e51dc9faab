// pisco sql: imprime o texto SQL de um registro dos blocos A e F com os seus valores, ou
// executa a consulta e imprime as linhas em fluxo (tabela de texto, CSV ou JSON).
#include <algorithm>
#include <cctype>
#include <functional>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "blocks/nArqRepositorioSPEDPisCofinsBlocoA_U.h"
#include "blocks/nArqRepositorioSPEDPisCofinsBlocoFConsolidado_U.h"
#include "blocks/nArqRepositorioSPEDPisCofinsBlocoFDetalhado_U.h"
#include "cli/Comandos.h"
#include "host/Database.h"
#include "base/DateTime.h"
#include "base/Erros.h"
#include "host/Host.h"
#include "host/Nutildb.h"
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
  TnParansBlocoF F;
  const TnArqRepositorioSPEDPisCofinsBlocoF* RepoF = nullptr;
};

using TMontar = std::function<TConsulta(const TContexto&)>;

struct TRegistroSql {
  const char* Nome;
  TMontar Montar;
};

using RA = TnArqRepositorioSPEDPisCofinsBlocoA;
using RF = TnArqRepositorioSPEDPisCofinsBlocoF;

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

std::string ListaRegistros() {
  std::string s;
  for (const auto& r : Registros()) s += (s.empty() ? "" : ", ") + std::string(r.Nome);
  return s;
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

void Executar(const TOpcoesSql& o) {
  const TRegistroSql* reg = AcharRegistro(o.Registro);
  TDateTime inicio = 0, fim = 0;
  CompetenciaParaPeriodo(o.Competencia, inicio, fim);

  THost host(TDatabase::Conectar(o.Conexao));
  THostScope escopo(host);

  TContexto c;
  const int movimento = o.Movimento == "ent" ? 0 : 1;
  c.A = TnParansBlocoA{o.Empresa, o.Estab, inicio, fim, false, movimento, false};
  c.F = TnParansBlocoF{o.Empresa, o.Estab, inicio, fim, false, static_cast<int16_t>(movimento), false};
  // As opções da EFD valem para a empresa, o estabelecimento e o início do período; a
  // geração consolidada de F500/F525/F550 é escolha da empresa.
  ControleOpcaoEFD().Configurar(o.Empresa, TnUtilOpcaoEFD::CodigoEstabDeTexto(o.Estab), inicio);
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
  auto* cmd = app.add_subcommand("sql", "Imprime (ou executa) a consulta de um registro dos blocos A e F");
  auto o = std::make_shared<TOpcoesSql>();
  cmd->add_option("--db", o->Conexao, "Banco: arquivo SQLite ou postgresql://usuario@host/base")->required();
  cmd->add_option("--registro", o->Registro, "Registro: " + ListaRegistros())
      ->required()
      ->check(CLI::Validator(
          [](std::string& v) {
            return AcharRegistro(v) ? std::string() : "registro desconhecido: " + v + " (use " + ListaRegistros() + ")";
          },
          "REG"));
  cmd->add_option("--empresa", o->Empresa, "Código da empresa")->required();
  cmd->add_option("--competencia", o->Competencia, "Mês de apuração, AAAA-MM")
      ->required()
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
  cmd->callback([o] { Executar(*o); });
}
