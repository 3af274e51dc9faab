// Banco de demonstração: cadastros comuns, o laço das empresas e a transação. O que cada
// empresa grava está em db/demo/, um arquivo por área de dados.
#include "db/Demo.h"

#include "db/demo/DemoEmpresa.h"

namespace demo {

void GravarCadastrosComuns(TCarga& c, TSorteio& s) {
  auto& mun = c("MUNICIPIO", "SIGLAESTADO CODIGOMUNIC NOMEMUNIC CODIGORAIS");
  for (const auto& m : kMunicipios) mun.Linha({T(m.UF), I(m.Codigo), T(m.Nome), I(m.Codigo / 10)});

  auto& pes = c("PESSOA", "CODIGOPESSOA NOMEPESSOA TIPOINSCR INSCRFEDERAL SIGLAESTADO CODIGOMUNIC ORGAOPUBLICO");
  for (int p = 1; p <= kPessoas; ++p) {
    const auto& m = kMunicipios[static_cast<size_t>(s.Entre(0, std::size(kMunicipios) - 1))];
    if (p == kConsumidorFinal) {
      pes.Linha({I(p), T("CONSUMIDOR FINAL"), I(2), T(""), T("SP"), I(3550308), I(0)});
    } else if (Estrangeira(p)) {
      pes.Linha({I(p), T("FORNECEDOR EXTERIOR " + std::to_string(p)), I(4), T(""), T("EX"), N(), I(0)});
    } else if (OrgaoPublico(p)) {
      static const char* esfera[] = {"", "UNIÃO", "ESTADO", "MUNICÍPIO"};
      pes.Linha({I(p), T(std::string("ÓRGÃO PÚBLICO ") + esfera[OrgaoPublico(p)] + " " + std::to_string(p)), I(1),
                 T(CNPJ(s.Entre(10000000, 99999999), 1)), T(m.UF), I(m.Codigo), I(OrgaoPublico(p))});
    } else {
      // algumas sem município, como acontece em cadastros reais
      pes.Linha({I(p), T("EMPRESA CLIENTE/FORNECEDORA " + std::to_string(p)), I(1),
                 T(CNPJ(s.Entre(10000000, 99999999), 1)), T(m.UF), p % 17 == 0 ? N() : I(m.Codigo), I(0)});
    }
  }

  auto& imp = c("IMPOSTO", "CODIGOIMPOSTO VARIACAOIMPOSTO DESCRIMPOSTO CODIGOIMPOSTODCTF VARIACAOIMPOSTODCTF");
  imp.Linha({I(6912), I(1), T("PIS NÃO CUMULATIVO"), N(), N()});
  imp.Linha({I(5856), I(1), T("COFINS NÃO CUMULATIVA"), N(), N()});
  imp.Linha({I(8109), I(2), T("PIS CUMULATIVO"), N(), N()});
  imp.Linha({I(2172), I(1), T("COFINS CUMULATIVA"), N(), N()});
  imp.Linha({I(6912), I(8), T("PIS NÃO CUMULATIVO - SCP"), I(6912), I(8)});
  imp.Linha({I(5856), I(8), T("COFINS NÃO CUMULATIVA - SCP"), I(5856), I(8)});
  imp.Linha({I(2985), I(1), T("CONTRIBUIÇÃO PREVIDENCIÁRIA SOBRE A RECEITA"), N(), N()});

  auto& tit = c("DUPLICATAINDTITULO", "CODIGOINDTITULO DESCRINDTITULO INDTITULOSPED");
  tit.Linha({I(1), T("DUPLICATA"), T("00")});
  tit.Linha({I(2), T("CHEQUE"), T("01")});
  tit.Linha({I(3), T("NOTA PROMISSÓRIA"), T("02")});
  tit.Linha({I(4), T("CARTÃO"), T("10")});

  auto& obs = c("SPEDFIS0460", "CODIGOOBS DESCROBS");
  obs.Linha({T("OBS001"), T("Mercadoria destinada a revenda")});
  obs.Linha({T("OBS002"), T("Operação com suspensão das contribuições")});

  auto& ctb = c("PATTABELACTBLCTO", "SEQ NATUREZA REGRA CONTACTB CONTACTBLCTO");
  ctb.Linha({I(1), I(1), T("VlrEnc"), T("1.2.3.01.001"), T("4.1.1.01.001")});
  ctb.Linha({I(2), I(1), T("VlrEncSoc"), T("1.2.3.01.001"), T("4.1.1.01.002")});
}

// Tabela de compensação 1: todos os tipos de crédito, em ordem do código, 100% utilizáveis.
void GravarOrdemCompensacao(TCarga& c, TDateTime inicio) {
  c("EFDORDEMCOMPCRED", "CODTABSPEDCOMPCRED DESCRICAO FORMACOMPENSACAO").Linha({I(1), T("PADRÃO"), I(0)});
  auto& per = c("EFDORDEMCOMPCREDPERCENT", "CODTABSPEDCOMPCRED CODTABSPEDCOMPCREDPERCENT CODIGOTABSPED PERCENTCOMP");
  int ordem = 0;
  for (int regime = 1; regime <= 3; ++regime)
    for (int classe : {1, 2, 3, 4, 6, 7, 8, 9}) {
      char cod[32];
      std::snprintf(cod, sizeof cod, "4.3.06.%d%02d", regime, classe);
      per.Linha({I(1), I(++ordem), T(cod), A(1000000)});
    }
  auto& aliq = c("EFDORDEMCOMPCREDALIQ", "CODTABSPEDCOMPCRED CODTABSPEDCOMPCREDPERCENT ORDEM ALIQPIS ALIQCOFINS");
  aliq.Linha({I(1), I(1), I(1), A(16500), A(76000)});
  aliq.Linha({I(1), I(1), I(2), A(8000), A(37000)});
  auto& aper = c("EFDORDEMCOMPCREDALIQPER",
                 "CODTABSPEDCOMPCRED CODTABSPEDCOMPCREDPERCENT ORDEM DATAINICIAL DATAFINAL PERCENTUAL");
  aper.Linha({I(1), I(1), I(2), D(IncMonth(inicio, -24)), D(EndOfTheMonth(IncMonth(inicio, 12))), A(500000)});
}

// Áreas na ordem em que dependem umas das outras: os totais apurados somam o que as
// entradas, saídas e ajustes acumularam.
void TGeradorEmpresa::Gerar() {
  Cadastros();
  Entradas();
  Saidas();
  DocumentosBlocosCD();
  DadosBlocosIP1();
  DemaisDocumentos();
  Ajustes();
  Imobiliario();
  Patrimonio();
  SaldosAnteriores();
  Regimes();
  if (EhEFD()) TotaisEFD();
}

}  // namespace demo

using namespace demo;

namespace {

int64_t ContarTabelas(TDatabase& banco) {
  const char* sql = banco.Dialeto() == TDialeto::dSQLite
                        ? "SELECT count(*) FROM sqlite_master WHERE type = 'table'"
                        : "SELECT count(*) FROM information_schema.tables WHERE table_schema = current_schema()";
  auto ds = banco.Abrir(sql);
  return ds->Eof() ? 0 : ds->Fields(0).AsInteger();
}

int64_t Contar(TDatabase& banco, const std::string& tabela) {
  auto ds = banco.Abrir("SELECT count(*) FROM " + tabela);
  return ds->Fields(0).AsInteger();
}

}  // namespace

TResumoDemo GerarBancoDemo(TDatabase& banco, const TConfigDemo& cfg) {
  if (cfg.Empresas < 1 || cfg.Empresas > 9999)
    throw EEntradaInvalida("demo-db: o número de empresas deve estar entre 1 e 9999");
  if (cfg.Linhas < 0 || cfg.Linhas > 100000000)
    throw EEntradaInvalida("demo-db: o número de linhas deve estar entre 1 e 100000000");
  const int64_t tabelas = ContarTabelas(banco);
  if (tabelas > 0)
    throw EEntradaInvalida("demo-db: o banco de destino não está vazio (" + std::to_string(tabelas) +
                           " tabelas); informe um banco novo");
  const TDateTime inicio = cfg.InicioCompetencia > 0 ? StartOfTheMonth(cfg.InicioCompetencia) : EncodeDate(2024, 1, 1);
  const auto esquema = TabelasSchema();

  TResumoDemo resumo;
  TCarga carga(banco);
  banco.IniciarTransacao();
  try {
    banco.ExecutarScript(GerarDDL(banco.Dialeto(), esquema, TParteDDL::pdTabelas));
    TSorteio comum(Misturar(cfg.Semente));
    GravarCadastrosComuns(carga, comum);
    for (int empresa = 1; empresa <= cfg.Empresas; ++empresa) {
      const auto perfil = static_cast<TPerfilDemo>((empresa - 1) % kPerfisDemo);
      const int64_t linhas = cfg.Linhas > 0 ? cfg.Linhas : 240 + 60 * ((empresa - 1) % 3);
      TGeradorEmpresa(carga, cfg, empresa, perfil, inicio, linhas, resumo.LinhasLancamento).Gerar();
      carga.Descarregar();
      GerarOpcoesDemo(banco, empresa, perfil, inicio);
    }
    // A ordem de compensação e a data da opção pela EFD podem já ter vindo com as opções
    // da demonstração; só completa o que faltar.
    if (Contar(banco, "EFDORDEMCOMPCRED") == 0) GravarOrdemCompensacao(carga, inicio);
    if (Contar(banco, "OPCAOEFD") == 0)
      for (int empresa = 1; empresa <= cfg.Empresas; ++empresa)
        if (const int p = (empresa - 1) % kPerfisDemo;
            p != static_cast<int>(TPerfilDemo::pdPresumido) && p != static_cast<int>(TPerfilDemo::pdLucroRealSemEFD))
          carga("OPCAOEFD", "CODIGOEMPRESA CODIGOESTAB DATAEFD REGIMEAPU")
              .Linha({I(empresa), I(1), D(EncodeDate(2011, 1, 1)), I(1)});
    carga.Descarregar();
    if (cfg.Progresso) cfg.Progresso("criando os índices");
    banco.ExecutarScript(GerarDDL(banco.Dialeto(), esquema, TParteDDL::pdIndices));
    banco.Confirmar();
  } catch (...) {
    if (banco.EmTransacao()) banco.Desfazer();
    throw;
  }
  resumo.LinhasGravadas = carga.Gravadas();
  return resumo;
}

