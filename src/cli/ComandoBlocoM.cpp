#include <unistd.h>

#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

#include "blocom/control/nFisRepositorioEFDBlocoM_U.h"
#include "blocom/repo/nFisRepositorioPisCofinsBlocoM_U.h"
#include "cli/CadastroEmpresa.h"
#include "cli/Comandos.h"
#include "host/Database.h"
#include "base/Erros.h"
#include "base/Periodo.h"
#include "host/Nutilinclusao.h"
#include "host/Host.h"
#include "host/Nutildb.h"
#include "output/ExecucaoBlocoM.h"

namespace {
// Inteiro em [AMin, AMax], conferido antes da conversão do CLI11 (cuja mensagem mostra a
// faixa do double, com centenas de dígitos). Erro: "informe <ADescricao> (recebido: ...)".
CLI::Validator InteiroEntre(long long AMin, long long AMax, const std::string& ADescricao) {
  return CLI::Validator(
      [=](std::string& AValor) -> std::string {
        long long v = 0;
        const char* fim = AValor.data() + AValor.size();
        const auto r = std::from_chars(AValor.data(), fim, v);
        if (AValor.empty() || r.ec != std::errc() || r.ptr != fim || v < AMin || v > AMax)
          return "informe " + ADescricao + " (recebido: \"" + AValor + "\")";
        return {};
      },
      ADescricao);
}

struct TOpcoesBlocoM {
  std::string Conexao;
  int Empresa = 0;
  std::string Competencia;
  std::string Inicio;
  std::string Fim;
  std::string Estab;
  std::string Modo = "empresa";
  bool Lancamentos = false;
  std::string Formato = "sped";
  std::string Saida;
  std::string Caminho = "geradores";
  std::string Natureza;  // vazio: a do cadastro da empresa
  std::string RegimeReceita;  // caixa ou competencia; vazio: o da opção do lucro presumido
  std::string RastroSQL;  // arquivo do rastro das consultas; vazio = sem rastro
};

// Barra de progresso no stderr quando ele é um terminal; no máximo dez atualizações por segundo.
class TProgresso {
 public:
  TProgresso() : FAtivo(isatty(STDERR_FILENO) == 1) {}
  ~TProgresso() {
    if (FAtivo && FLinhas > 0) std::cerr << "\r\033[K" << std::flush;
  }
  void Linha() {
    ++FLinhas;
    if (!FAtivo) return;
    const auto agora = std::chrono::steady_clock::now();
    if (agora - FUltima < std::chrono::milliseconds(100)) return;
    FUltima = agora;
    static const char giro[] = {'|', '/', '-', '\\'};
    std::cerr << "\r\033[K" << giro[(FLinhas / 97) % 4] << " pisco: " << FLinhas << " linhas lidas" << std::flush;
  }

 private:
  bool FAtivo;
  long FLinhas = 0;
  std::chrono::steady_clock::time_point FUltima{};
};

// Confere que o banco tem as tabelas de que o Bloco M precisa antes de começar.
void ValidarEsquema(TDatabase& ABanco) {
  for (const char* tabela : {"ESTAB", "TOTALEFD", "TOTALEFDCRED", "TOTALEFDDEBITO"}) {
    try {
      auto ds = ABanco.Abrir(std::string("SELECT 1 FROM ") + tabela + " WHERE 1 = 0");
    } catch (const EBancoDados&) {
      throw EEntradaInvalida(std::string("O banco não tem o esquema do pisco (tabela ") + tabela +
                             " ausente). Crie-o com \"pisco demo-db\" ou aplique o DDL de \"pisco schema\".");
    }
  }
}

void ValidarEmpresa(TDatabase& ABanco, int AEmpresa) {
  auto ds = ABanco.Abrir("SELECT COUNT(*) QTD FROM ESTAB WHERE CODIGOEMPRESA = :CODIGOEMPRESA",
                         {TVariant{static_cast<int64_t>(AEmpresa)}});
  if (ds->Eof() || ds->FieldByName("QTD").AsInteger() == 0)
    throw EEntradaInvalida("Empresa " + std::to_string(AEmpresa) + " não encontrada (nenhum estabelecimento cadastrado)");
}

TConfigBlocoM MontarConfiguracao(const TOpcoesBlocoM& o) {
  TConfigBlocoM c;
  c.CodigoEmpresa = o.Empresa;
  PeriodoInformado(o.Competencia, o.Inicio, o.Fim, c.DataInicial, c.DataFinal);
  if (o.Modo == "empresa") {
    c.ModoGeracao = TModoGeracao::mgEmpresa;
    c.CodigoEstab = o.Estab;
  } else {
    c.ModoGeracao = o.Modo == "filial" ? TModoGeracao::mgFilial : TModoGeracao::mgSCP;
    if (o.Estab.empty()) throw EEntradaInvalida("O modo " + o.Modo + " exige --estab com o código do estabelecimento");
    if (EstabComoInteiro(o.Estab, 0) <= 0)
      throw EEntradaInvalida("No modo " + o.Modo + ", --estab deve ser um único código de estabelecimento: \"" +
                             o.Estab + "\"");
    c.CodigoEstab = o.Estab;
  }
  // O texto de estabelecimentos vira condição SQL: é validado antes de qualquer consulta.
  FilterInterval({"CODIGOESTAB"}, c.CodigoEstab);
  c.CodigoEstabExtraApuracao = c.CodigoEstab;
  return c;
}

void ExecutarComando(const TOpcoesBlocoM& o) {
  TConfigBlocoM config = MontarConfiguracao(o);
  auto banco = TDatabase::Conectar(o.Conexao, TModoAbertura::maExistente);
  ValidarEsquema(*banco);
  ValidarEmpresa(*banco, o.Empresa);
  CompletarComCadastro(*banco, config, o.Natureza, o.RegimeReceita);
  // O rastro vive mais que o host: as consultas guardadas no cache só se fecham com ele.
  TRastroSQL rastro;
  if (!o.RastroSQL.empty()) banco->DefinirRastro(&rastro);
  ComRastro(o.RastroSQL, rastro, [&] {
    THost host(std::move(banco));
    THostScope escopo(host);
    TProgresso progresso;
    config.DoIncProgresso = [&progresso](TDataSet&) { progresso.Linha(); };
    ExecutarBlocoM(config, TSaidaBlocoM{o.Formato, o.Saida, o.Lancamentos, o.Caminho == "sql"}, std::cout);
  });
}
}  // namespace

void RegistrarComandoBlocoM(CLI::App& app) {
  auto o = std::make_shared<TOpcoesBlocoM>();
  auto* cmd = app.add_subcommand("blocom", "Calcula o Bloco M de uma empresa e período e o escreve (SPED ou JSON)");
  cmd->add_option("--db", o->Conexao, "Banco: arquivo SQLite ou postgresql://usuario@servidor/base")->required();
  cmd->add_option("--empresa", o->Empresa, "Código da empresa")
      ->required()
      ->check(InteiroEntre(1, INT32_MAX, "o código da empresa, um número inteiro positivo"));
  auto* comp = cmd->add_option("--competencia", o->Competencia, "Mês da apuração, AAAA-MM");
  auto* ini = cmd->add_option("--inicio", o->Inicio, "Primeiro dia do período, AAAA-MM-DD (em vez de --competencia)");
  auto* fim = cmd->add_option("--fim", o->Fim, "Último dia do período, AAAA-MM-DD");
  ini->needs(fim);
  fim->needs(ini);
  comp->excludes(ini);
  comp->excludes(fim);
  cmd->add_option("--estab", o->Estab, "Estabelecimento (lista ou faixas: 1,3-5) ou o código no modo filial/scp");
  cmd->add_option("--modo", o->Modo, "empresa, filial ou scp")->check(CLI::IsMember({"empresa", "filial", "scp"}));
  cmd->add_flag("--lancamentos", o->Lancamentos, "Gera o Bloco M a partir dos lançamentos fiscais");
  cmd->add_option("--formato", o->Formato, "sped (leiaute oficial) ou json")->check(CLI::IsMember({"sped", "json"}));
  cmd->add_option("--saida", o->Saida, "Arquivo de saída (padrão: saída padrão)");
  cmd->add_option("--caminho", o->Caminho,
                  "geradores (padrão: árvore de geradores) ou sql (repositório monolítico, direto por SQL)")
      ->check(CLI::IsMember({"geradores", "sql"}));
  cmd->add_option("--natureza", o->Natureza,
                  "Natureza da pessoa jurídica (0 sociedade empresária, 1 cooperativa, ...); padrão: a do cadastro")
      ->check(InteiroEntre(0, 99, "a natureza da pessoa jurídica, um número de 0 a 99"));
  cmd->add_option("--regime-receita", o->RegimeReceita,
                  "caixa (saídas pela data do recebimento) ou competencia; padrão: o da opção do lucro presumido")
      ->check(CLI::IsMember({"caixa", "competencia"}));
  cmd->add_option("--rastro-sql", o->RastroSQL,
                  "Grava em ARQUIVO uma linha JSON por consulta emitida (texto, parâmetros, linhas, ms)");
  cmd->callback([o, comp, ini] {
    if (comp->count() == 0 && ini->count() == 0)
      throw CLI::RequiredError("--competencia (ou --inicio e --fim)");
    ExecutarComando(*o);
  });
}
